#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace corvane::os::linux_os {

// One line of /proc/self/mountinfo, with its escapes (\040 for a blank and the like) undone.
struct MountEntry {
    unsigned major = 0; // device number of the mounted file system
    unsigned minor = 0;
    std::string root; // the folder of the file system that is mounted ("/" for all of it)
    std::string mountPoint;
    std::string fsType;
    std::string source; // "/dev/sdb1", or whatever the file system calls its source
};

// Undoes the kernel's octal escapes (\040 blank, \011 tab, \012 line end, \134 backslash).
std::string UnescapeMountField(std::string_view field);

// The mounts listed in mountinfo text, in their order; malformed lines are skipped.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// The active swap areas named in /proc/swaps text (the header line is skipped).
std::vector<std::string> ParseSwaps(std::string_view text);

// The whole text of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

} // namespace corvane::os::linux_os
