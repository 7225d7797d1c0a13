#include <CLI/CLI.hpp>

#include <cstdio>

#include "app/corvane_app.h"
#include "hosts/cli/cli_commands.h"
#include "hosts/cli/cli_front_end.h"
#include "hosts/host_platform.h"

using namespace corvane;

int main(int argc, char** argv) {
    CLI::App cli{"Corvane: exposes counterfeit and failing flash drives", "corvane-cli"};
    cli.require_subcommand(1);
    CliCommand command;
    for (const CliCommandEntry& entry : CliCommands())
        entry.add(cli, command);
    CLI11_PARSE(cli, argc, argv);

    HostPlatform front = MakeHostPlatform();
    if (!front.platform) {
        std::fprintf(stderr, "corvane-cli: %s\n", front.error.c_str());
        return kExitNoTest;
    }
    CliFrontEnd frontEnd(command);
    CCorvaneApp app(*front.platform, AppNameFromPath(front.platform->system->ExecutablePath()));
    app.InitInstance(frontEnd);
    if (!app.Started())
        return kExitNoTest;
    return frontEnd.ExitCode();
}
