#pragma once
#include <stdexcept>
#include <string>

namespace corvane::os {

// Causes of a file exception, numbered as the log's table of file-exception texts.
enum FileExceptionCause : int {
    kFileNone = 0,
    kFileGeneric = 1,
    kFileNotFound = 2,
    kFileBadPath = 3,
    kFileTooManyOpenFiles = 4,
    kFileAccessDenied = 5,
    kFileInvalidHandle = 6,
    kFileRemoveCurrentDir = 7,
    kFileDirectoryFull = 8,
    kFileBadSeek = 9,
    kFileHardIo = 10,
    kFileSharingViolation = 11,
    kFileLockViolation = 12,
    kFileDiskFull = 13,
    kFileEndOfFile = 14,
};

// What a backend may throw where a file operation fails beyond an ordinary error value (the
// callers that own an operation catch it, together with std::ios_base::failure, and end that
// operation with its failure result).
class FileException : public std::runtime_error {
public:
    FileException(int cause, const std::string& what) : std::runtime_error(what), cause_(cause) {}
    int Cause() const { return cause_; }

private:
    int cause_;
};

} // namespace corvane::os
