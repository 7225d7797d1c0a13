#pragma once
#include <string>

#include "os/system.h"
#include "os/vocabulary.h"

namespace corvane {

// Replaces text with the system's message for the calling thread's last error code (with the
// line end the system puts at its end); empty when the system has no text.
void FormatLastError(os::ISystem& system, std::string& text);

// The text for a file-exception cause; empty for a cause outside the table.
const char* FileExceptionText(int cause);

// Logs "Type of Exception - " and the cause's text, and shows the text (OK, exclamation icon,
// the application's name as caption).
void ReportFileException(int cause, IMessageBoxHost& boxes);

} // namespace corvane
