#pragma once
#include <string>

namespace corvane {

// The command the command line asked for, with its arguments.
struct CliCommand {
    enum class Kind { Version, List, Info };
    Kind kind = Kind::Version;
    // info: the drive asked for ("E:", "e", "sdb", "/dev/sdb").
    std::string drive;
};

} // namespace corvane
