#include <CLI/CLI.hpp>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "drives/panel_text.h"
#include "hosts/cli/cli_commands.h"
#include "hosts/cli/cli_console.h"
#include "hosts/cli/cli_drive.h"
#include "hosts/cli/cli_report_json.h"
#include "hosts/cli/cli_summary.h"
#include "hosts/cli/cli_terminal.h"
#include "hosts/cli/cli_test_run.h"
#include "hosts/host_platform.h"
#include "sizetest/size_test_texts.h"

namespace corvane {
namespace {

std::string JoinedNames(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

// The drive to test: the listed drive of that name, or (with --allow-fixed) a drive the
// system knows but does not call removable, named as given. Empty, with why set, when it may
// not be tested.
std::optional<cli::DriveIdentity> ChooseDrive(CliDriveSession& session, os::IDriveSystem& drives,
                                              const std::string& drive, bool allowFixed,
                                              std::string& why) {
    if (const std::shared_ptr<CDevice> record = FindListed(session.state, drive))
        return IdentifyDrive(drives, record.get(), drive);
    const os::DriveType type = drives.GetDriveType(drive);
    if (type == os::kDriveNoRootDir || type == os::kDriveUnknown || type == os::kDriveRemote) {
        why = drive + " is not a drive this machine has (corvane-cli list shows the "
                      "removable ones)";
        return std::nullopt;
    }
    if (type != os::kDriveRemovable && !allowFixed) {
        why = drive + " is not a removable drive; pass --allow-fixed to test it anyway "
                      "(everything on it will be destroyed)";
        return std::nullopt;
    }
    cli::DriveIdentity identity = IdentifyDrive(drives, nullptr, drive);
    if (identity.sectorSize == 0)
        identity.sectorSize = 512;
    return identity;
}

// What the confirmation names before its question: every drive whose data is destroyed.
std::string DestroyedDrivesText(const std::vector<cli::DriveIdentity>& drives) {
    std::string text = drives.size() == 1 ? "Everything on this drive will be destroyed:"
                                          : "Everything on these drives will be destroyed:";
    for (const cli::DriveIdentity& d : drives)
        text += "\n  " + d.name + "  " + cli::ModelText(d) + "  " + FormatSize(d.reportedSize) +
                " (" + std::to_string(d.reportedSize) + " bytes)";
    return text;
}

class TestCommand {
public:
    TestCommand(CCorvaneApp& app, CliFrontEnd& frontEnd, const CliCommand& command)
        : app_(app), frontEnd_(frontEnd), command_(command), out_(command.json ? stderr : stdout) {}

    int Run() {
        std::vector<std::string> names;
        std::set<std::string> seen;
        for (const std::string& drive : command_.drives) {
            if (!seen.insert(ListedName(drive)).second)
                return Refuse(drive + " is named more than once");
            names.push_back(drive);
        }
        if (!command_.yes && !cli::StdinIsTerminal())
            return Refuse("no terminal to ask for confirmation on; pass --yes to confirm that "
                          "everything on " +
                          JoinedNames(names) + " may be destroyed");
        const std::unique_ptr<CliDriveSession> session = CliDriveSession::Open(app_, frontEnd_);
        if (!session)
            return Refuse("");
        os::IDriveSystem& drives = *app_.Platform().drives;
        std::vector<cli::DriveIdentity> chosen;
        std::string refusals;
        for (const std::string& name : names) {
            std::string why;
            std::optional<cli::DriveIdentity> identity =
                ChooseDrive(*session, drives, name, command_.allowFixed, why);
            // Simulated drives share no names with the machine's own, whose mounts say
            // nothing of them.
            if (identity && std::getenv(kSimBayVariable) == nullptr) {
                if (const auto refusal = RefuseMountedTarget(identity->name)) {
                    why = *refusal;
                    identity.reset();
                }
            }
            if (!identity)
                refusals += (refusals.empty() ? "" : "\ncorvane-cli: ") + why;
            else
                chosen.push_back(std::move(*identity));
        }
        // One drive that may not be tested stops the whole run before anything is written.
        if (!refusals.empty())
            return Refuse(refusals);

        std::atomic<bool> interrupted{false};
        cli::InstallInterruptFlag(interrupted);
        if (const int declined = Confirm(chosen); declined != kExitOk)
            return declined;

        const cli::StatusLine status = command_.quiet               ? cli::StatusLine::Off
                                       : cli::TerminalRedraws(out_) ? cli::StatusLine::Terminal
                                                                    : cli::StatusLine::Plain;
        cli::CliConsole console(out_, status, chosen.size() > 1);
        cli::TestRunOptions options;
        options.mode = command_.full ? kFullTestMode : 0;
        options.answers = cli::TestAnswers{true, command_.format};
        options.closingLines = !command_.quiet;
        const std::vector<cli::DriveReport> reports =
            cli::RunDriveTests(app_.Platform(), console, chosen, options, interrupted);
        if (reports.size() > 1 && !command_.quiet)
            console.Print("\n" + cli::SummaryTableText(reports));
        const int exitCode = cli::WorstExitCode(reports);
        if (command_.json)
            std::printf("%s\n", cli::TestReportJson(reports, exitCode).c_str());
        return exitCode;
    }

private:
    int Refuse(const std::string& why) {
        if (!why.empty())
            std::fprintf(stderr, "corvane-cli: %s\n", why.c_str());
        if (command_.json)
            std::printf("%s\n",
                        cli::TestReportJson({}, kExitNoTest, why.empty() ? "no drive access" : why)
                            .c_str());
        return kExitNoTest;
    }

    // Asks once for every drive, naming each; with --yes the answer is printed instead.
    // Returns kExitOk when confirmed.
    int Confirm(const std::vector<cli::DriveIdentity>& chosen) {
        const std::string text = DestroyedDrivesText(chosen) + "\n" + kConfirmText;
        const std::string prompt = std::string(kConfirmCaption);
        if (command_.yes) {
            std::fprintf(out_, "%s\n%s [Yes]\n", text.c_str(), prompt.c_str());
            std::fflush(out_);
            return kExitOk;
        }
        // Asked where the person at the terminal sees it, also when stdout is piped.
        std::FILE* ask = cli::IsTerminal(out_) ? out_ : stderr;
        std::fprintf(ask, "%s\n", text.c_str());
        switch (cli::AskYesNo(prompt + " [y/N] ", ask)) {
        case cli::Answer::Yes:
            return kExitOk;
        case cli::Answer::Cancelled:
            return Refuse("cancelled; nothing was written");
        case cli::Answer::No:
            break;
        }
        return Refuse("not confirmed; nothing was written");
    }

    CCorvaneApp& app_;
    CliFrontEnd& frontEnd_;
    const CliCommand& command_;
    std::FILE* out_;
};

} // namespace

void AddTestCommand(CLI::App& cli, CliCommand& command) {
    CLI::App* test = cli.add_subcommand(
        "test", "run the destructive size test on one or more drives at once (everything on "
                "them is destroyed)");
    test->add_option("drives", command.drives,
                     "the drives, as list shows them (E:, sdb), device paths or image files")
        ->required();
    test->add_flag("--full", command.full,
                   "the Full Test (a block every 1 MiB) instead of "
                   "the Quick Test");
    test->add_flag("--yes", command.yes, "answer Yes to the confirmation");
    test->add_flag("--format", command.format, "answer Yes to the format offer");
    test->add_flag("--allow-fixed", command.allowFixed,
                   "allow drives the system does not call removable");
    test->add_flag("--json", command.json,
                   "print one JSON report on stdout; messages and progress go to stderr");
    test->add_flag("--quiet,-q", command.quiet,
                   "no status lines, closing lines or summary: only the messages and errors");
    test->callback([&command] { command.kind = CliCommand::Kind::Test; });
}

int RunTestCommand(CCorvaneApp& app, CliFrontEnd& frontEnd, const CliCommand& command) {
    return TestCommand(app, frontEnd, command).Run();
}

} // namespace corvane
