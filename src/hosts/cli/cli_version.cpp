#include <CLI/CLI.hpp>

#include <cstdio>

#include "hosts/cli/cli_commands.h"

namespace corvane {

void AddVersionCommand(CLI::App& cli, CliCommand& command) {
    cli.add_subcommand("version", "print the program's name and version")->callback([&command] {
        command.kind = CliCommand::Kind::Version;
    });
}

int RunVersionCommand(CCorvaneApp& app, CliFrontEnd&, const CliCommand&) {
    std::printf("%s %s\n", app.AppName().c_str(), CORVANE_VERSION_TEXT);
    return kExitOk;
}

} // namespace corvane
