#include "log/log_file.h"

#include <cstdio>

#include "log/log_header.h"

namespace corvane {

bool SplitLogFolder(const std::string& path, std::string& drive, std::string& directory) {
    std::size_t start = 0;
    drive.clear();
    directory.clear();
    if (path.size() >= 2 && path[1] == ':') {
        drive = path.substr(0, 2);
        start = 2;
    }
    const std::size_t lastSep = path.find_last_of("\\/");
    if (lastSep != std::string::npos && lastSep >= start)
        directory = path.substr(start, lastSep + 1 - start);
    return directory.size() <= kMaxLogDirectory;
}

CLogFile::CLogFile(os::ISystem& system) : system_(system) {}

CLogFile::~CLogFile() {
    if (stream_ != nullptr)
        std::fclose(stream_);
}

bool CLogFile::StartLog(const std::string& folder, const std::string& baseName) {
    std::string drive;
    std::string directory;
    if (!SplitLogFolder(folder, drive, directory))
        return false;
    const std::string stem = drive + directory + baseName;
    const std::string logPath = stem + ".log";
    const std::string backupPath = stem + "old" + ".log";
    if (logPath.size() > kMaxLogPath || backupPath.size() > kMaxLogPath)
        return false;
    logPath_ = logPath;
    backupPath_ = backupPath;

    // The previous run's log becomes the backup; on a first run there is nothing to copy.
    system_.CopyFile(logPath_, backupPath_, false);

    // Binary mode with explicit CR LF, so the file reads the same whichever OS wrote it.
    stream_ = std::fopen(logPath_.c_str(), "wb");
    if (stream_ == nullptr)
        return false;
    WriteLogHeader(*this, system_);
    return true;
}

void CLogFile::WriteText(std::string_view text) {
    std::size_t begin = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            std::fwrite(text.data() + begin, 1, i - begin, stream_);
            std::fwrite("\r\n", 1, 2, stream_);
            begin = i + 1;
        }
    }
    std::fwrite(text.data() + begin, 1, text.size() - begin, stream_);
}

void CLogFile::WriteHeaderLine(std::string_view text) {
    std::lock_guard lock(mutex_);
    if (stream_ == nullptr)
        return;
    WriteText(text);
    WriteText("\n");
    std::fflush(stream_);
}

void CLogFile::WriteMessage(std::string_view text) {
    std::lock_guard lock(mutex_);
    if (stream_ == nullptr)
        return;
    const os::LocalTime now = system_.Now();
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d ", now.hour % 100, now.minute % 100,
                  now.second % 100);
    WriteText(text);
    WriteText("\n");
    std::fflush(stream_);
    // The stamp opens the next line; flushed too, so a run that is killed keeps it.
    std::fputs(stamp, stream_);
    std::fflush(stream_);
}

} // namespace corvane
