#include "hosts/cli/cli_format_hint.h"

namespace corvane::cli {

std::string FirstPartitionPath(const std::string& device) {
    const bool endsInDigit = !device.empty() && device.back() >= '0' && device.back() <= '9';
    return device + (endsInDigit ? "p1" : "1");
}

std::string FormatHintText(const std::string& drive) {
    const bool letter = drive.size() == 2 && drive[1] == ':';
    if (letter)
        return "To format the drive again: format " + drive + " /FS:exFAT /Q";
    const std::string device = drive.rfind('/', 0) == 0 ? drive : "/dev/" + drive;
    const std::string partition = FirstPartitionPath(device);
    return "To make the drive usable again, create one partition and a file system:\n"
           "  echo 'type=7' | sudo sfdisk " +
           device + "\n  sudo mkfs.exfat " + partition + "     (or: sudo mkfs.vfat -F 32 " +
           partition + ")";
}

} // namespace corvane::cli
