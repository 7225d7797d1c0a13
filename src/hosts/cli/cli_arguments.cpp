#include "hosts/cli/cli_arguments.h"

#include <CLI/CLI.hpp>

#include "hosts/cli/cli_commands.h"
#include "hosts/cli/cli_front_end.h"

namespace corvane {

std::optional<int> ParseCommandLine(int argc, const char* const* argv, CliCommand& command) {
    CLI::App cli{"Corvane: exposes counterfeit and failing flash drives", "corvane-cli"};
    // At most one command here, so that a misspelt one is named as the argument not expected;
    // none at all is refused below.
    cli.require_subcommand(0, 1);
    cli.set_version_flag("--version", std::string("corvane-cli ") + CORVANE_VERSION_TEXT,
                         "print the program's name and version");
    cli.footer(
        "Exit codes: 0 genuine, 1 a failure was reported (faulty or fake), 2 stopped, "
        "3 no test ran (bad arguments, unknown drive, no sectors, not confirmed or cancelled). "
        "With several drives, the worst of them.\nSet CORVANE_SIM to a bay file to test "
        "simulated drives.");
    for (const CliCommandEntry& entry : CliCommands())
        entry.add(cli, command);
    try {
        cli.parse(argc, argv);
        if (cli.get_subcommands().empty())
            throw CLI::RequiredError("A subcommand");
    } catch (const CLI::ParseError& e) {
        const int code = cli.exit(e);
        return code == static_cast<int>(CLI::ExitCodes::Success) ? kExitOk : kExitNoTest;
    }
    return std::nullopt;
}

} // namespace corvane
