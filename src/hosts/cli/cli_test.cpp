#include <CLI/CLI.hpp>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "hosts/cli/cli_commands.h"
#include "hosts/cli/cli_drive.h"
#include "hosts/cli/cli_terminal.h"
#include "hosts/cli/cli_test_view.h"
#include "hosts/host_platform.h"
#include "sizetest/run_control.h"

namespace corvane {
namespace {

constexpr auto kInterruptPoll = std::chrono::milliseconds(100);

int Refuse(const std::string& why) {
    std::fprintf(stderr, "corvane-cli: %s\n", why.c_str());
    return kExitNoTest;
}

int ExitCodeOf(std::optional<SizeTestOutcome> outcome) {
    if (!outcome)
        return kExitNoTest;
    switch (*outcome) {
    case SizeTestOutcome::Genuine:
        return kExitGenuine;
    case SizeTestOutcome::FailureReported:
        return kExitFailure;
    case SizeTestOutcome::Aborted:
        return kExitStopped;
    case SizeTestOutcome::NoBuffer:
    case SizeTestOutcome::NoVolume:
        return kExitNoTest;
    }
    return kExitNoTest;
}

// The drive to test: the listed drive of that name, or (with --allow-fixed) a drive the
// system knows but does not call removable, named as given.
std::shared_ptr<CDevice> ChooseDrive(CliDriveSession& session, os::IDriveSystem& drives,
                                     const CliCommand& command, std::string& why) {
    const std::string wanted = ListedName(command.drive);
    const auto& list = session.state.m_DeviceList;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i]->m_drive == wanted) {
            session.view.ComboSetCurSel(static_cast<int>(i));
            session.state.OnDriveSelChange();
            return session.state.m_pDevice;
        }
    }
    const os::DriveType type = drives.GetDriveType(command.drive);
    if (type == os::kDriveNoRootDir || type == os::kDriveUnknown || type == os::kDriveRemote) {
        why = command.drive + " is not a drive this machine has (corvane-cli list shows the "
                              "removable ones)";
        return nullptr;
    }
    if (type != os::kDriveRemovable && !command.allowFixed) {
        why = command.drive + " is not a removable drive; pass --allow-fixed to test it anyway "
                              "(everything on it will be destroyed)";
        return nullptr;
    }
    auto device = std::make_shared<CDevice>();
    device->m_drive = command.drive;
    session.state.m_pDevice = device;
    if (session.state.m_nSectorSize.load() == 0)
        session.state.m_nSectorSize.store(512);
    return device;
}

} // namespace

void AddTestCommand(CLI::App& cli, CliCommand& command) {
    CLI::App* test = cli.add_subcommand(
        "test", "run the destructive size test on a drive (everything on it is destroyed)");
    test->add_option("drive", command.drive,
                     "the drive, as list shows it (E:, sdb), a device path or an image file")
        ->required();
    test->add_flag("--full", command.full,
                   "the Full Test (a block every 1 MiB) instead of "
                   "the Quick Test");
    test->add_flag("--yes", command.yes, "answer Yes to the confirmation");
    test->add_flag("--format", command.format, "answer Yes to the format offer");
    test->add_flag("--allow-fixed", command.allowFixed,
                   "allow a drive the system does not call removable");
    test->callback([&command] { command.kind = CliCommand::Kind::Test; });
}

int RunTestCommand(CCorvaneApp& app, CliFrontEnd& frontEnd, const CliCommand& command) {
    if (!command.yes && !cli::StdinIsTerminal())
        return Refuse("no terminal to ask for confirmation on; pass --yes to confirm that "
                      "everything on " +
                      command.drive + " may be destroyed");
    const std::unique_ptr<CliDriveSession> session = CliDriveSession::Open(app, frontEnd);
    if (!session)
        return kExitNoTest;
    os::IDriveSystem& drives = *app.Platform().drives;
    std::string why;
    const std::shared_ptr<CDevice> device = ChooseDrive(*session, drives, command, why);
    if (!device)
        return Refuse(why);
    // Simulated drives share no names with the machine's own, whose mounts say nothing of them.
    if (std::getenv(kSimBayVariable) == nullptr) {
        if (const auto refusal = RefuseMountedTarget(device->m_drive))
            return Refuse(*refusal);
    }

    cli::CliTestView view(cli::TestAnswers{command.yes, command.format},
                          cli::StdoutIsTerminal() ? cli::StatusLine::Terminal
                                                  : cli::StatusLine::Plain);
    CTestRunControl control(app.Platform(), view);
    control.onRunStarted = [&session](const std::string& drive, std::uint64_t size,
                                      std::uint32_t sectorSize) {
        session->state.OnRunStarted(drive, size, sectorSize);
    };
    control.onRunEnded = [&session] { session->state.OnRunEnded(); };
    control.OnTestMode(command.full ? kFullTestMode : 0);

    std::atomic<bool> interrupted{false};
    cli::InstallInterruptFlag(interrupted);
    control.OnStartTest(device.get(), session->state.m_nSectorSize,
                        session->state.m_DeviceList.empty());
    bool stopped = false;
    while (!control.WaitForWorker(kInterruptPoll)) {
        if (interrupted.load() && !stopped) {
            control.OnStopTest(); // Stop Test: the run ends at its next block
            stopped = true;
        }
    }
    return ExitCodeOf(control.LastOutcome());
}

} // namespace corvane
