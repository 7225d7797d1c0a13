#pragma once
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace corvane::cli {

// How status lines show: redrawn in place on a terminal, as plain lines elsewhere, or not
// at all.
enum class StatusLine { Terminal, Plain, Off };

// The output of a test of one or more drives, shared by their workers: every message is
// printed whole (each line prefixed with its drive's name when several drives run), never
// split by another drive's. On a terminal the drives' status lines stand below the messages,
// one per running drive, and are redrawn in place; elsewhere each status update is one line.
class CliConsole {
public:
    // prefixed: messages carry their drive's name.
    CliConsole(std::FILE* out, StatusLine status, bool prefixed);

    // A drive of the run; its slot is the order of its status line.
    int AddDrive(const std::string& name);
    StatusLine Status() const { return status_; }
    std::FILE* Stream() const { return out_; }

    // A message of slot's drive, printed whole.
    void Message(int slot, const std::string& text);
    // Text of nobody's drive (the confirmation, the summary), printed whole.
    void Print(const std::string& text);
    // Slot's status line now reads line.
    void ShowStatus(int slot, const std::string& line);
    // Slot's drive has ended its run: its status line goes and never comes back.
    void EndStatus(int slot);
    // The width of the status lines.
    int Columns() const;

private:
    void EraseBlockLocked();
    void DrawBlockLocked();
    void WriteLocked(const std::string& prefix, const std::string& text);

    std::FILE* out_;
    StatusLine status_;
    bool prefixed_;
    mutable std::mutex mutex_;
    std::vector<std::string> names_;
    std::vector<std::optional<std::string>> lines_; // nullopt: no line (not started or ended)
    std::vector<bool> ended_;
    int shown_ = 0; // status lines on the screen below the messages
};

} // namespace corvane::cli
