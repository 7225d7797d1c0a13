#include <CLI/CLI.hpp>

#include <cstdio>

#include "hosts/cli/cli_commands.h"
#include "hosts/cli/cli_drive.h"
#include "hosts/cli/cli_report_json.h"

namespace corvane {

void AddListCommand(CLI::App& cli, CliCommand& command) {
    CLI::App* list = cli.add_subcommand("list", "list the removable drives that can be tested");
    list->add_flag("--json", command.json,
                   "print one JSON document on stdout: each drive's identity and size");
    list->callback([&command] { command.kind = CliCommand::Kind::List; });
}

// The drive combo's lines, one per drive, or the status line when no drive qualifies.
int RunListCommand(CCorvaneApp& app, CliFrontEnd& frontEnd, const CliCommand& command) {
    const std::unique_ptr<CliDriveSession> session = CliDriveSession::Open(app, frontEnd);
    if (!session) {
        if (command.json)
            std::printf("%s\n", cli::ErrorReportJson("list", kExitNoTest,
                                                     "no drive access on this platform")
                                    .c_str());
        return kExitNoTest;
    }
    if (command.json) {
        std::vector<cli::DriveIdentity> drives;
        for (const auto& record : session->state.m_DeviceList)
            drives.push_back(IdentifyDrive(*app.Platform().drives, record.get(), record->m_drive));
        std::printf("%s\n", cli::ListReportJson(drives).c_str());
        return kExitOk;
    }
    const std::vector<std::string>& lines = session->view.ComboLines();
    if (lines.empty())
        std::printf("%s\n", session->view.Text(kIdcStatus).c_str());
    for (const std::string& line : lines)
        std::printf("%s\n", line.c_str());
    return kExitOk;
}

} // namespace corvane
