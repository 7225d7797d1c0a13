#include <CLI/CLI.hpp>

#include <cstdio>

#include "hosts/cli/cli_commands.h"
#include "hosts/cli/cli_drive.h"
#include "hosts/cli/cli_report_json.h"

namespace corvane {

void AddInfoCommand(CLI::App& cli, CliCommand& command) {
    CLI::App* info = cli.add_subcommand("info", "show what the drive panel shows for a drive");
    info->add_option("drive", command.drive, "the drive, as list shows it (E:, sdb)")->required();
    info->add_flag("--json", command.json,
                   "print one JSON document on stdout: the drive's identity, size and panel");
    info->callback([&command] { command.kind = CliCommand::Kind::Info; });
}

// Selects the drive's line and prints each panel field as "Caption: value".
int RunInfoCommand(CCorvaneApp& app, CliFrontEnd& frontEnd, const CliCommand& command) {
    auto fail = [&command](const std::string& why) {
        std::fprintf(stderr, "corvane-cli: %s\n", why.c_str());
        if (command.json)
            std::printf("%s\n", cli::ErrorReportJson("info", kExitNoTest, why).c_str());
        return kExitNoTest;
    };
    const std::unique_ptr<CliDriveSession> session = CliDriveSession::Open(app, frontEnd);
    if (!session) {
        if (command.json)
            std::printf("%s\n", cli::ErrorReportJson("info", kExitNoTest,
                                                     "no drive access on this platform")
                                    .c_str());
        return kExitNoTest;
    }
    const std::string wanted = ListedName(command.drive);
    const auto& list = session->state.m_DeviceList;
    std::size_t index = 0;
    while (index < list.size() && list[index]->m_drive != wanted)
        ++index;
    if (index == list.size())
        return fail(command.drive +
                    " is not a listed removable drive (corvane-cli list shows them)");
    session->view.ComboSetCurSel(static_cast<int>(index));
    session->state.OnDriveSelChange();
    std::vector<cli::PanelLine> panel;
    for (const PanelField& field : CDriveState::PanelFields())
        panel.emplace_back(field.caption, session->view.Text(field.id));
    if (command.json) {
        const cli::DriveIdentity identity =
            IdentifyDrive(*app.Platform().drives, list[index].get(), wanted);
        std::printf("%s\n", cli::InfoReportJson(identity, panel).c_str());
        return kExitOk;
    }
    for (const auto& [caption, text] : panel)
        std::printf("%s: %s\n", caption.c_str(), text.c_str());
    return kExitOk;
}

} // namespace corvane
