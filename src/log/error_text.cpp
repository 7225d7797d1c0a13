#include "log/error_text.h"

#include "log/log_state.h"
#include "os/last_error.h"

namespace corvane {
namespace {

const char* const kFileExceptionTexts[] = {
    "ERROR: No error occurred!",
    "ERROR: An unspecified error occurred!",
    "ERROR: File not found!",
    "ERROR: The file could not be located!",
    "ERROR: All or part of the path is invalid!",
    "ERROR: The permitted number of open files was exceeded!",
    "ERROR: There was an attempt to use an invalid file handle!",
    "ERROR: The current working directory cannot be removed!",
    "ERROR: There are no more directory entries!",
    "ERROR: There was an error trying to set the file pointer!",
    "ERROR: There was a hardware error!",
    "ERROR: SHARE.EXE was not loaded, or a shared region was locked!",
    "ERROR: There was an attempt to lock a region that was already locked!",
    "ERROR: The disk is full!",
    "ERROR: The end of file was reached!",
};

} // namespace

void FormatLastError(os::ISystem& system, std::string& text) {
    text = system.ErrorText(os::LastOsError());
}

const char* FileExceptionText(int cause) {
    constexpr int count = static_cast<int>(std::size(kFileExceptionTexts));
    return (cause >= 0 && cause < count) ? kFileExceptionTexts[cause] : "";
}

void ReportFileException(int cause, IMessageBoxHost& boxes) {
    const char* text = FileExceptionText(cause);
    LogMessage("Type of Exception - ", text);
    boxes.MessageBox(text, "", kMbOk | kMbIconExclamation);
}

} // namespace corvane
