#pragma once
#include <string>
#include <vector>

namespace corvane {

// The command the command line asked for, with its arguments.
struct CliCommand {
    enum class Kind { Version, List, Info, Test };
    Kind kind = Kind::Version;
    // info: the drive asked for ("E:", "e", "sdb", "/dev/sdb").
    std::string drive;
    // test: the drives to test, in the order given; each is tested by its own worker.
    std::vector<std::string> drives;
    // test: the Full Test instead of the Quick Test; answers to the confirmation and the
    // format offer; a drive the system does not call removable allowed.
    bool full = false;
    bool yes = false;
    bool format = false;
    bool allowFixed = false;
    // One JSON document on stdout; every message and the progress go to stderr.
    bool json = false;
    // No status lines, no closing lines and no summary: only the drives' messages and errors.
    bool quiet = false;
};

} // namespace corvane
