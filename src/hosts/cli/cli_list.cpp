#include <CLI/CLI.hpp>

#include <cstdio>

#include "hosts/cli/cli_commands.h"
#include "hosts/cli/cli_drive.h"

namespace corvane {

void AddListCommand(CLI::App& cli, CliCommand& command) {
    cli.add_subcommand("list", "list the removable drives that can be tested")
        ->callback([&command] { command.kind = CliCommand::Kind::List; });
}

// The drive combo's lines, one per drive, or the status line when no drive qualifies.
int RunListCommand(CCorvaneApp& app, CliFrontEnd& frontEnd, const CliCommand&) {
    const std::unique_ptr<CliDriveSession> session = CliDriveSession::Open(app, frontEnd);
    if (!session)
        return kExitNoTest;
    const std::vector<std::string>& lines = session->view.ComboLines();
    if (lines.empty())
        std::printf("%s\n", session->view.Text(kIdcStatus).c_str());
    for (const std::string& line : lines)
        std::printf("%s\n", line.c_str());
    return kExitOk;
}

} // namespace corvane
