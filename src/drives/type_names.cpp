#include "drives/type_names.h"

#include <iterator>

#include "drives/drive_texts.h"
#include "os/bus_type.h"

namespace corvane {
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

} // namespace corvane
