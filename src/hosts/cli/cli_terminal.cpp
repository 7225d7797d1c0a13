#include "hosts/cli/cli_terminal.h"

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string_view>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#define CORVANE_ISATTY _isatty
#define CORVANE_FILENO _fileno
#else
#include <cerrno>
#include <sys/ioctl.h>
#include <unistd.h>
#define CORVANE_ISATTY isatty
#define CORVANE_FILENO fileno
#endif

namespace corvane::cli {
namespace {

constexpr int kDefaultColumns = 80;

std::atomic<bool>* g_interrupted = nullptr;

extern "C" void OnInterrupt(int) {
    if (g_interrupted != nullptr && !g_interrupted->exchange(true)) {
#ifdef _WIN32
        std::signal(SIGINT, OnInterrupt);
#endif
        return;
    }
    std::signal(SIGINT, SIG_DFL);
    std::raise(SIGINT);
}

bool Interrupted() {
    return g_interrupted != nullptr && g_interrupted->load();
}

// One line of standard input without its line end; false at its end, on an error, or when
// Ctrl-C broke the wait off.
bool ReadAnswerLine(std::string& line) {
#ifdef _WIN32
    // The console's read returns empty-handed when Ctrl-C is pressed.
    return static_cast<bool>(std::getline(std::cin, line)) && !Interrupted();
#else
    // Read byte by byte from the descriptor: the interrupt handler is installed without
    // restarting calls, so Ctrl-C ends the wait with EINTR instead of being swallowed.
    line.clear();
    for (;;) {
        if (Interrupted())
            return false;
        char c = 0;
        const ssize_t n = read(STDIN_FILENO, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return !line.empty() && !Interrupted();
        if (c == '\n')
            return !Interrupted();
        line.push_back(c);
    }
#endif
}

} // namespace

bool IsTerminal(std::FILE* stream) {
    return CORVANE_ISATTY(CORVANE_FILENO(stream)) != 0;
}
bool StdinIsTerminal() {
    return IsTerminal(stdin);
}
bool StdoutIsTerminal() {
    return IsTerminal(stdout);
}

bool TerminalRedraws(std::FILE* stream) {
    if (!IsTerminal(stream))
        return false;
#ifdef _WIN32
    const HANDLE console = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (!GetConsoleMode(console, &mode))
        return false;
    return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
           SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
#else
    const char* term = std::getenv("TERM");
    return term == nullptr || std::string_view(term) != "dumb";
#endif
}

int TerminalColumns(std::FILE* stream) {
#ifdef _WIN32
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (GetConsoleScreenBufferInfo(
            GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE), &info))
        return info.srWindow.Right - info.srWindow.Left + 1;
#else
    winsize size{};
    if (ioctl(CORVANE_FILENO(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
#endif
    if (const char* columns = std::getenv("COLUMNS")) {
        const int n = std::atoi(columns);
        if (n > 0)
            return n;
    }
    return kDefaultColumns;
}

Answer AskYesNo(const std::string& prompt, std::FILE* out) {
    std::fputs(prompt.c_str(), out);
    std::fflush(out);
    std::string answer;
    const bool got = ReadAnswerLine(answer);
    if (Interrupted()) {
        std::fputc('\n', out);
        std::fflush(out);
        return Answer::Cancelled;
    }
    if (!got)
        return Answer::No;
    return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y') ? Answer::Yes : Answer::No;
}

void InstallInterruptFlag(std::atomic<bool>& interrupted) {
    g_interrupted = &interrupted;
#ifdef _WIN32
    std::signal(SIGINT, OnInterrupt);
#else
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a waiting read returns
    sigaction(SIGINT, &action, nullptr);
#endif
}

} // namespace corvane::cli
