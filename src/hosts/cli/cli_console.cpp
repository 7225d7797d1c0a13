#include "hosts/cli/cli_console.h"

#include "hosts/cli/cli_terminal.h"

namespace corvane::cli {

CliConsole::CliConsole(std::FILE* out, StatusLine status, bool prefixed)
    : out_(out), status_(status), prefixed_(prefixed) {}

int CliConsole::AddDrive(const std::string& name) {
    std::lock_guard lock(mutex_);
    names_.push_back(name);
    lines_.emplace_back();
    ended_.push_back(false);
    return static_cast<int>(names_.size()) - 1;
}

int CliConsole::Columns() const {
    return TerminalColumns(out_);
}

void CliConsole::EraseBlockLocked() {
    if (shown_ == 0)
        return;
    // Up to the first status line, and everything from there down is cleared.
    std::fprintf(out_, "\033[%dA\r\033[J", shown_);
    shown_ = 0;
}

void CliConsole::DrawBlockLocked() {
    for (const auto& line : lines_) {
        if (!line)
            continue;
        std::fprintf(out_, "%s\n", line->c_str());
        ++shown_;
    }
}

void CliConsole::WriteLocked(const std::string& prefix, const std::string& message) {
    // A system text that ends with its own line end ends the message there.
    const std::string text = !message.empty() && message.back() == '\n'
                                 ? message.substr(0, message.size() - 1)
                                 : message;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end == std::string::npos ? end : end - start);
        if (prefix.empty())
            std::fprintf(out_, "%s\n", line.c_str());
        else if (line.empty())
            std::fprintf(out_, "%s\n", prefix.c_str());
        else
            std::fprintf(out_, "%s %s\n", prefix.c_str(), line.c_str());
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
}

void CliConsole::Message(int slot, const std::string& text) {
    std::lock_guard lock(mutex_);
    EraseBlockLocked();
    WriteLocked(prefixed_ ? names_[slot] : std::string(), text);
    if (status_ == StatusLine::Terminal)
        DrawBlockLocked();
    std::fflush(out_);
}

void CliConsole::Print(const std::string& text) {
    std::lock_guard lock(mutex_);
    EraseBlockLocked();
    WriteLocked(std::string(), text);
    if (status_ == StatusLine::Terminal)
        DrawBlockLocked();
    std::fflush(out_);
}

void CliConsole::ShowStatus(int slot, const std::string& line) {
    std::lock_guard lock(mutex_);
    if (status_ == StatusLine::Off || ended_[slot])
        return;
    if (status_ == StatusLine::Plain) {
        std::fprintf(out_, "%s\n", line.c_str());
    } else {
        lines_[slot] = line;
        EraseBlockLocked();
        DrawBlockLocked();
    }
    std::fflush(out_);
}

void CliConsole::EndStatus(int slot) {
    std::lock_guard lock(mutex_);
    if (ended_[slot])
        return;
    ended_[slot] = true;
    if (lines_[slot]) {
        lines_[slot].reset();
        EraseBlockLocked();
        DrawBlockLocked();
        std::fflush(out_);
    }
}

} // namespace corvane::cli
