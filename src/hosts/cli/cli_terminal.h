#pragma once
#include <atomic>
#include <string>

namespace corvane::cli {

// True when the stream is an interactive terminal.
bool StdinIsTerminal();
bool StdoutIsTerminal();

// Asks a yes/no question on the terminal; false unless the answer starts with y or Y.
bool AskYesNo(const std::string& prompt);

// Ctrl-C sets the flag instead of ending the process; a second Ctrl-C ends it at once.
void InstallInterruptFlag(std::atomic<bool>& interrupted);

} // namespace corvane::cli
