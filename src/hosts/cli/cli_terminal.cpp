#include "hosts/cli/cli_terminal.h"

#include <csignal>
#include <cstdio>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#define CORVANE_ISATTY _isatty
#define CORVANE_FILENO _fileno
#else
#include <unistd.h>
#define CORVANE_ISATTY isatty
#define CORVANE_FILENO fileno
#endif

namespace corvane::cli {
namespace {

std::atomic<bool>* g_interrupted = nullptr;

extern "C" void OnInterrupt(int) {
    if (g_interrupted != nullptr && !g_interrupted->exchange(true)) {
        std::signal(SIGINT, OnInterrupt);
        return;
    }
    std::signal(SIGINT, SIG_DFL);
    std::raise(SIGINT);
}

} // namespace

bool StdinIsTerminal() {
    return CORVANE_ISATTY(CORVANE_FILENO(stdin)) != 0;
}
bool StdoutIsTerminal() {
    return CORVANE_ISATTY(CORVANE_FILENO(stdout)) != 0;
}

bool AskYesNo(const std::string& prompt) {
    std::fputs(prompt.c_str(), stdout);
    std::fflush(stdout);
    std::string answer;
    if (!std::getline(std::cin, answer))
        return false;
    return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
}

void InstallInterruptFlag(std::atomic<bool>& interrupted) {
    g_interrupted = &interrupted;
    std::signal(SIGINT, OnInterrupt);
}

} // namespace corvane::cli
