#pragma once
#include <windows.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace corvane::testing {

// A fresh folder in the system's temporary folder, removed with everything in it at the end.
// Path() ends with a backslash, as the system's temporary folder does.
class Win32TempFolder {
public:
    Win32TempFolder() {
        char base[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, base);
        static int counter = 0;
        path_ = std::string(base) + "corvane-test-" + std::to_string(::GetCurrentProcessId()) +
                "-" + std::to_string(++counter) + "\\";
        std::filesystem::create_directories(path_);
    }
    ~Win32TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    Win32TempFolder(const Win32TempFolder&) = delete;
    Win32TempFolder& operator=(const Win32TempFolder&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

} // namespace corvane::testing
