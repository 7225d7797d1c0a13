#pragma once
#include <atomic>
#include <cstdio>
#include <string>

namespace corvane::cli {

// True when the stream is an interactive terminal.
bool StdinIsTerminal();
bool StdoutIsTerminal();
bool IsTerminal(std::FILE* stream);

// True when stream is a terminal that takes cursor movements (a terminal other than "dumb";
// on Windows a console once its escape sequences are turned on), so that status lines can be
// redrawn in place.
bool TerminalRedraws(std::FILE* stream);

// The width of the terminal that stream shows on, in columns; 80 when it cannot be learned.
int TerminalColumns(std::FILE* stream);

enum class Answer { Yes, No, Cancelled };

// Writes prompt to out and reads one line from standard input: Yes when it starts with y or Y,
// Cancelled when Ctrl-C came while waiting (the interrupt flag is then set), No otherwise.
Answer AskYesNo(const std::string& prompt, std::FILE* out);

// Ctrl-C sets the flag instead of ending the process, and breaks off a question that is
// waiting for its answer; a second Ctrl-C ends the process at once.
void InstallInterruptFlag(std::atomic<bool>& interrupted);

} // namespace corvane::cli
