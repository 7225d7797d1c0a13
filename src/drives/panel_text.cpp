#include "drives/panel_text.h"

#include <cstdio>
#include <iterator>

#include "drives/drive_texts.h"
#include "os/bus_type.h"

namespace corvane {

namespace {

constexpr const char* kUnitLetters[] = {"K", "M", "G", "T", "P", "E"};

enum class StepRule { AtLeast1024, AtLeast1000, Above1024 };

// The value is held in single precision throughout; each step's product is worked out in double
// precision and stored back, so the last digit matches what the panel has always shown.
std::string Format(float value, StepRule rule) {
    const char* unit = "";
    for (const char* letter : kUnitLetters) {
        bool step = false;
        switch (rule) {
        case StepRule::AtLeast1024:
            step = value >= 1024.0f;
            break;
        case StepRule::AtLeast1000:
            step = value >= 1000.0f;
            break;
        case StepRule::Above1024:
            step = value > 1024.0f;
            break;
        }
        if (!step)
            break;
        if (rule == StepRule::AtLeast1000)
            value = static_cast<float>(static_cast<double>(value) / 1000.0);
        else
            value = static_cast<float>(static_cast<double>(value) * (1.0 / 1024.0));
        unit = letter;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.2f %sB", static_cast<double>(value), unit);
    return text;
}

} // namespace

std::string FormatSize(std::uint64_t bytes) {
    return Format(static_cast<float>(bytes), StepRule::AtLeast1024);
}

std::string FormatSizeDecimal(std::uint64_t bytes) {
    return Format(static_cast<float>(bytes), StepRule::AtLeast1000);
}

std::string FormatSizeFree(float bytes) {
    return Format(bytes, StepRule::Above1024);
}

namespace {

// Indexed by the drive type query's answer.
constexpr const char* kDriveTypeNames[] = {"Unknown", "BAD",    "Removable", "Fixed",
                                           "Remote",  "CD-ROM", "RamDisk"};

} // namespace

std::string GetBusTypeName(std::int32_t busType) {
    if (busType < 0 || busType >= os::kBusTypeCount)
        return kNoValueText;
    return std::string(os::kBusTypeNames[busType]);
}

std::string GetDriveTypeName(std::uint32_t driveType) {
    if (driveType >= std::size(kDriveTypeNames))
        return kNoValueText;
    return kDriveTypeNames[driveType];
}

BrandModel SplitBrandModel(const std::string& vendorProduct) {
    if (vendorProduct.compare(0, 2, "ST") == 0)
        return {"Seagate", vendorProduct};
    const std::size_t blank = vendorProduct.find(' ');
    if (blank == std::string::npos)
        return {"", vendorProduct};
    return {vendorProduct.substr(0, blank),
            Trim(std::string_view(vendorProduct).substr(blank + 1))};
}

} // namespace corvane
