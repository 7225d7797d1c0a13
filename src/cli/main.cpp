#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>

#include "app/corvane_app.h"
#include "cli/cli_front_end.h"
#include "frontend/front_platform.h"

using namespace corvane;

int main(int argc, char** argv) {
    CLI::App cli{"Corvane: exposes counterfeit and failing flash drives", "corvane-cli"};
    cli.require_subcommand(1);
    CliCommand command;
    cli.add_subcommand("version", "print the program's name and version")
        ->callback([&] { command.kind = CliCommand::Kind::Version; });
    CLI11_PARSE(cli, argc, argv);

    FrontPlatform front = MakeFrontPlatform();
    if (!front.platform) {
        std::fprintf(stderr, "corvane-cli: %s\n", front.error.c_str());
        return kExitNoTest;
    }
    CliFrontEnd frontEnd(command);
    CCorvaneApp app(*front.platform,
                    AppNameFromPath(front.platform->system->ExecutablePath()));
    app.InitInstance(frontEnd);
    if (!app.Started())
        return kExitNoTest;
    return frontEnd.ExitCode();
}
