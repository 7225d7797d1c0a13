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

// The numbers themselves, for the backends that map their own bus to them. Those past the
// names table (virtual disks, NVMe) show as a field without a value.
enum StorageBus : std::int32_t {
    kBusUnknown = 0,
    kBusScsi = 1,
    kBusAtapi = 2,
    kBusAta = 3,
    kBusUsb = 7,
    kBusSas = 10,
    kBusSata = 11,
    kBusSd = 12,
    kBusMmc = 13,
    kBusVirtual = 14, // a paravirtual disk of a virtual machine (virtio)
    kBusNvme = 17,
};

} // namespace corvane::os
