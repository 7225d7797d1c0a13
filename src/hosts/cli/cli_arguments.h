#pragma once
#include <optional>

#include "hosts/cli/cli_command.h"

namespace corvane {

// Reads the command line into command. Returns an exit code when the program ends here: 0
// after --help or --version (printed), kExitNoTest after a wrong command, a missing drive, an
// unknown option or an extra argument (the argument library's message printed on stderr).
// Returns nothing when the command is to run.
std::optional<int> ParseCommandLine(int argc, const char* const* argv, CliCommand& command);

} // namespace corvane
