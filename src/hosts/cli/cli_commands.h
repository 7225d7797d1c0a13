#pragma once
#include <span>

#include "hosts/cli/cli_front_end.h"

namespace CLI {
class App;
}

namespace corvane {

// One command of corvane-cli: how the command line names it (registering it sets the kind and
// the arguments of command when it is chosen) and what it does once start-up has passed (its
// result is the exit code). A new command is one file and one entry of the table.
struct CliCommandEntry {
    CliCommand::Kind kind;
    void (*add)(CLI::App& cli, CliCommand& command);
    int (*run)(CCorvaneApp& app, CliFrontEnd& frontEnd, const CliCommand& command);
};

std::span<const CliCommandEntry> CliCommands();

void AddVersionCommand(CLI::App& cli, CliCommand& command);
int RunVersionCommand(CCorvaneApp& app, CliFrontEnd& frontEnd, const CliCommand& command);
void AddListCommand(CLI::App& cli, CliCommand& command);
int RunListCommand(CCorvaneApp& app, CliFrontEnd& frontEnd, const CliCommand& command);
void AddInfoCommand(CLI::App& cli, CliCommand& command);
int RunInfoCommand(CCorvaneApp& app, CliFrontEnd& frontEnd, const CliCommand& command);
void AddTestCommand(CLI::App& cli, CliCommand& command);
int RunTestCommand(CCorvaneApp& app, CliFrontEnd& frontEnd, const CliCommand& command);

} // namespace corvane
