#pragma once
#include "app/corvane_app.h"

namespace corvane::win32 {

class Win32FrontEnd;

// Creates the main window over a Win32 dialog host, runs it modally until it ends, waits for a
// running test's worker to release its volume while still serving the worker's messages, and
// destroys it. False when the window could not be created.
bool RunMainWindow(Win32FrontEnd& frontEnd, CCorvaneApp& app);

} // namespace corvane::win32
