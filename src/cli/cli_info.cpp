#include <CLI/CLI.hpp>

#include <cstdio>

#include "cli/cli_commands.h"
#include "cli/cli_drive_session.h"

namespace corvane {
namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The drive name as the list keeps it: "e", "e:" and "E:\" are E:; "/dev/sdb" is sdb.
std::string ListedName(std::string text) {
    if (text.size() >= 1 && IsAsciiLetter(text[0]) &&
        (text.size() == 1 || (text[1] == ':' && (text.size() == 2 || text.substr(2) == "\\"))))
        return std::string{static_cast<char>(text[0] & ~0x20), ':'};
    constexpr std::string_view kDevFolder = "/dev/";
    if (text.rfind(kDevFolder, 0) == 0)
        text.erase(0, kDevFolder.size());
    return text;
}

} // namespace

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
