#pragma once
#include <cstdint>
#include <string>

namespace corvane {

// The panel's name of a storage bus type; "---" for a number outside the table, including -1
// (no bus type learned).
std::string GetBusTypeName(std::int32_t busType);
// The panel's name of a drive type ("Removable", "CD-ROM", ...); "---" outside the table.
std::string GetDriveTypeName(std::uint32_t driveType);

} // namespace corvane
