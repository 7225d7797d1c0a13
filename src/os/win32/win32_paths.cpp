#include <windows.h>

#include "os/win32/win32_handle.h"
#include "os/win32/win32_os.h"

namespace corvane::os::win32_os {
namespace {
constexpr std::size_t kMaxDriveName = 95;
}

std::optional<std::string> DevicePath(const std::string& drive) {
    if (drive.find_first_of("\\/") != std::string::npos)
        return drive;
    if (drive.empty() || drive.size() > kMaxDriveName) {
        RecordError(ERROR_INVALID_NAME);
        return std::nullopt;
    }
    return "\\\\.\\" + drive;
}

std::string RootPath(const std::string& drive) {
    if (!drive.empty() && (drive.back() == '\\' || drive.back() == '/'))
        return drive;
    return drive + "\\";
}

} // namespace corvane::os::win32_os
