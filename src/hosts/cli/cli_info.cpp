#include <CLI/CLI.hpp>

#include <cstdio>

#include "hosts/cli/cli_commands.h"
#include "hosts/cli/cli_drive.h"

namespace corvane {

void AddInfoCommand(CLI::App& cli, CliCommand& command) {
    CLI::App* info = cli.add_subcommand("info", "show what the drive panel shows for a drive");
    info->add_option("drive", command.drive, "the drive, as list shows it (E:, sdb)")->required();
    info->callback([&command] { command.kind = CliCommand::Kind::Info; });
}

// Selects the drive's line and prints each panel field as "Caption: value".
int RunInfoCommand(CCorvaneApp& app, CliFrontEnd& frontEnd, const CliCommand& command) {
    const std::unique_ptr<CliDriveSession> session = CliDriveSession::Open(app, frontEnd);
    if (!session)
        return kExitNoTest;
    const std::string wanted = ListedName(command.drive);
    const auto& list = session->state.m_DeviceList;
    std::size_t index = 0;
    while (index < list.size() && list[index]->m_drive != wanted)
        ++index;
    if (index == list.size()) {
        std::fprintf(stderr,
                     "corvane-cli: %s is not a listed removable drive (corvane-cli list shows "
                     "them)\n",
                     command.drive.c_str());
        return kExitNoTest;
    }
    session->view.ComboSetCurSel(static_cast<int>(index));
    session->state.OnDriveSelChange();
    for (const PanelField& field : CDriveState::PanelFields())
        std::printf("%s: %s\n", field.caption, session->view.Text(field.id).c_str());
    return kExitOk;
}

} // namespace corvane
