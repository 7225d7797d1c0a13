#pragma once
// How the drive panel puts what it learns into words: size texts, bus and drive type names, brand
// and model.
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// A byte count as "%.2f %sB", stepping by 1024 through K, M, G, T, P, E in single precision:
// "0.00 B", "1.50 KB", "14.91 GB".
std::string FormatSize(std::uint64_t bytes);
// The same with steps of 1000 (the drive's maximum size): "16.01 GB".
std::string FormatSizeDecimal(std::uint64_t bytes);
// The free-space form: steps of 1024 only while the value is strictly above 1024, so 1024
// bytes read "1024.00 B".
std::string FormatSizeFree(float bytes);

// The panel's name of a storage bus type; "---" for a number outside the table, including -1
// (no bus type learned).
std::string GetBusTypeName(std::int32_t busType);
// The panel's name of a drive type ("Removable", "CD-ROM", ...); "---" outside the table.
std::string GetDriveTypeName(std::uint32_t driveType);

struct BrandModel {
    std::string brand;
    std::string model;
};

// Splits a drive's vendor and product text for the panel. A text that begins with "ST" is a
// Seagate drive, shown whole as its model; otherwise the brand is what comes before the first
// blank and the model the rest, trimmed. Without a blank the brand is empty.
BrandModel SplitBrandModel(const std::string& vendorProduct);

// White space as the C locale knows it; bytes of 0x80 and above are never white space.
inline bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// text without its leading and trailing white space.
inline std::string Trim(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsWhiteSpace(text[begin]))
        ++begin;
    while (end > begin && IsWhiteSpace(text[end - 1]))
        --end;
    return std::string(text.substr(begin, end - begin));
}

} // namespace corvane
