#include "hosts/cli/cli_commands.h"

namespace corvane {
namespace {

constexpr CliCommandEntry kCommands[] = {
    {CliCommand::Kind::Version, AddVersionCommand, RunVersionCommand},
    {CliCommand::Kind::List, AddListCommand, RunListCommand},
    {CliCommand::Kind::Info, AddInfoCommand, RunInfoCommand},
    {CliCommand::Kind::Test, AddTestCommand, RunTestCommand},
};

} // namespace

std::span<const CliCommandEntry> CliCommands() {
    return kCommands;
}

} // namespace corvane
