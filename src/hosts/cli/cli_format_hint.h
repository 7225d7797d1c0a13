#pragma once
#include <string>

namespace corvane::cli {

// The device path of the first partition of a block device: a name that ends in a digit takes
// "p" before the number ("/dev/mmcblk0p1", "/dev/nvme0n1p1"), any other name takes the number
// alone ("/dev/sdb1").
std::string FirstPartitionPath(const std::string& device);

// What the terminal says in place of the system's formatter: the command that formats a
// drive letter again, or the commands that make a block device usable again.
std::string FormatHintText(const std::string& drive);

} // namespace corvane::cli
