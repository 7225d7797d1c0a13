#pragma once
#include <string>

#include "app/corvane_app.h"
#include "hosts/cli/cli_command.h"

namespace corvane {

// Exit codes of corvane-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitGenuine = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitStopped = 2;
inline constexpr int kExitNoTest = 3;

// The terminal front end: message boxes become printed texts, the main dialog step runs the
// command (cli_commands.h).
class CliFrontEnd : public IFrontEnd {
public:
    explicit CliFrontEnd(CliCommand command) : command_(std::move(command)) {}
    int MessageBox(const std::string& text, const std::string& caption,
                   std::uint32_t style) override;
    bool RunMainDialog(CCorvaneApp& app) override;
    int ExitCode() const { return exitCode_; }

private:
    CliCommand command_;
    int exitCode_ = kExitOk;
};

} // namespace corvane
