#pragma once
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

#include "os/system.h"

namespace corvane {

// Limits of the log's paths, as the Windows path buffers set them (terminator excluded).
inline constexpr std::size_t kMaxLogPath = 259;
inline constexpr std::size_t kMaxLogDirectory = 255;

// Splits a folder the way the log places its files: drive ("C:"), then the directory up to and
// including the last slash or backslash; file name and extension are dropped. Returns false
// when the directory part exceeds its limit.
bool SplitLogFolder(const std::string& path, std::string& drive, std::string& directory);

// The diagnostic log of one run. Lines end in CR LF on every platform; each message is written
// whole under one lock, so messages of two threads never interleave.
class CLogFile {
public:
    explicit CLogFile(os::ISystem& system);
    ~CLogFile();
    CLogFile(const CLogFile&) = delete;
    CLogFile& operator=(const CLogFile&) = delete;

    // Builds both paths from folder and baseName, backs up the previous log, opens the new log
    // (truncating) and writes the header. Returns false (and leaves the log off) when a path
    // exceeds its limit or the file cannot be opened.
    bool StartLog(const std::string& folder, const std::string& baseName);

    bool IsOpen() const { return stream_ != nullptr; }
    const std::string& LogPath() const { return logPath_; }
    const std::string& BackupPath() const { return backupPath_; }

    // Writes one message made of parts, then a line end, then the stamp that opens the next
    // line ("HH:MM:SS "). The time is read before the parts are written.
    void WriteMessage(std::string_view text);

    // Header lines: text then a line end, no stamp. Used by the header report only.
    void WriteHeaderLine(std::string_view text);

private:
    void WriteText(std::string_view text); // converts each '\n' to CR LF, as text mode does
    os::ISystem& system_;
    std::FILE* stream_ = nullptr;
    std::string logPath_;
    std::string backupPath_;
    std::mutex mutex_;
};

} // namespace corvane
