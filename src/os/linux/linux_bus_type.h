#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "os/bus_type.h"
#include "os/linux/linux_drive_env.h"

namespace corvane::os::linux_os {

// The bus of a whole disk, read from where its device sits in the sysfs device tree: the
// outermost transport on the path wins (a USB card reader is USB, not MMC). SATA and parallel
// ATA are told apart by the link speed libata reports; an SD card and an MMC by the card's
// type. nullopt for devices without a bus (loop, RAM disks) and for transports not mapped.
std::optional<std::int32_t> BusTypeOf(const LinuxDriveEnv& env, const std::string& diskDir);

// True when the disk sits on the SCSI layer (sd, sr: USB sticks, card readers, SATA disks)
// and so takes SG_IO; SD/MMC cards in a card slot, NVMe, virtio and loop devices do not.
bool TakesScsiCommands(const std::string& diskDir);

// True for an SD card in a card slot (mmcblk with card type SD). The kernel never marks an
// mmcblk disk removable, as the card's block device goes away with the card; the card itself
// is removable media all the same, which is what the drive type reports.
bool IsSdCard(const std::string& diskDir);

} // namespace corvane::os::linux_os
