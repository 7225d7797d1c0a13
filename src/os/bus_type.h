#pragma once
#include <cstdint>
#include <iterator>
#include <string_view>

namespace corvane::os {

// Storage bus types, numbered as the storage property query reports them (STORAGE_BUS_TYPE).
// The index of a name is its number.
inline constexpr std::string_view kBusTypeNames[] = {
    "Unknown", "SCSI", "ATAPI", "ATA", "1394", "SSA", "Fibre",
    "USB",     "Raid", "iSCSI", "SAS", "SATA", "SD",  "MMC",
};
inline constexpr std::int32_t kBusTypeCount = static_cast<std::int32_t>(std::size(kBusTypeNames));
inline constexpr std::int32_t kBusTypeUsb = 7;

} // namespace corvane::os
