#pragma once
#include <string>

namespace corvane {

// The command the command line asked for, with its arguments.
struct CliCommand {
    enum class Kind { Version, List, Info, Test };
    Kind kind = Kind::Version;
    // info: the drive asked for ("E:", "e", "sdb", "/dev/sdb").
    std::string drive;
    // test: the Full Test instead of the Quick Test; answers to the confirmation and the
    // format offer; a drive the system does not call removable allowed.
    bool full = false;
    bool yes = false;
    bool format = false;
    bool allowFixed = false;
};

} // namespace corvane
