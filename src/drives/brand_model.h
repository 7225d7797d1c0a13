#pragma once
#include <string>

namespace corvane {

struct BrandModel {
    std::string brand;
    std::string model;
};

// Splits a drive's vendor and product text for the panel. A text that begins with "ST" is a
// Seagate drive, shown whole as its model; otherwise the brand is what comes before the first
// blank and the model the rest, trimmed. Without a blank the brand is empty.
BrandModel SplitBrandModel(const std::string& vendorProduct);

} // namespace corvane
