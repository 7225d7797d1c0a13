#pragma once
#include <cstdint>
#include <string>

namespace corvane {

// A byte count as "%.2f %sB", stepping by 1024 through K, M, G, T, P, E in single precision:
// "0.00 B", "1.50 KB", "14.91 GB".
std::string FormatSize(std::uint64_t bytes);
// The same with steps of 1000 (the drive's maximum size): "16.01 GB".
std::string FormatSizeDecimal(std::uint64_t bytes);
// The free-space form: steps of 1024 only while the value is strictly above 1024, so 1024
// bytes read "1024.00 B".
std::string FormatSizeFree(float bytes);

} // namespace corvane
