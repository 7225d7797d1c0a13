#pragma once

namespace corvane {
class CCorvaneApp;
}

namespace corvane::win32 {

class Win32FrontEnd;

// Runs the main window modally until it is closed; false when it cannot be created.
bool RunPlaceholderMainDialog(Win32FrontEnd& frontEnd, CCorvaneApp& app);

} // namespace corvane::win32
