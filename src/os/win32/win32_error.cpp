#include "os/last_error.h"
#include "os/win32/win32_handle.h"

namespace corvane::os::win32_os {

DWORD RecordLastError() {
    const DWORD code = ::GetLastError();
    SetLastOsError(code);
    return code;
}

void RecordError(DWORD code) {
    ::SetLastError(code);
    SetLastOsError(code);
}

} // namespace corvane::os::win32_os
