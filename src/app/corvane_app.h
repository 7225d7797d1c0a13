#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "log/log_file.h"
#include "os/platform.h"
#include "os/vocabulary.h"

namespace corvane {

class CCorvaneApp;

// What start-up hands over to once the machine has passed its checks: the dialog program runs
// its main dialog, the CLI runs its command. Also shows start-up's message boxes.
class IFrontEnd : public IMessageBoxHost {
public:
    // Creates, runs and destroys the main window (or does the front end's job); false when it
    // cannot be created.
    virtual bool RunMainDialog(CCorvaneApp& app) = 0;
};

// Texts and captions of start-up's refusals.
inline constexpr const char* kOsNotSupportedText =
    "Support for Windows 95, 98, ME & NT4.0 has been discontinued, We are sorry for any "
    "inconvenience.";
inline constexpr const char* kOsNotSupportedCaption = "Your OS not supported";
inline constexpr const char* kNeedAdminText =
    "In Windows XP or earlier administrator privileges are required. Please run program with "
    "administrator rights";
inline constexpr const char* kNeedAdminCaption = "Need admin rights";
inline constexpr const char* kSocketsFailedText = "Failed to Initialize Sockets";

inline constexpr const char* kLogBaseName = "Corvane";

// The application object: start-up, the environment checks and the settings.
class CCorvaneApp {
public:
    // appName is the executable's base name (no folder, no extension).
    CCorvaneApp(os::Platform& platform, std::string appName);
    ~CCorvaneApp();
    CCorvaneApp(const CCorvaneApp&) = delete;
    CCorvaneApp& operator=(const CCorvaneApp&) = delete;

    // The whole start-up; always false (the process ends when it returns).
    bool InitInstance(IFrontEnd& frontEnd);
    // True when start-up passed its checks and handed over to the front end.
    bool Started() const { return m_bStarted; }

    int GetWindowsVersionCode();
    bool IsCurrentUserAdmin();
    // Settings of section "CVN"; the default when absent or before the store is placed.
    std::uint32_t GetSettingInt(const std::string& key, int defaultValue);
    bool WriteSettingInt(const std::string& key, int value);

    const std::string& AppName() const { return m_strAppName; }
    os::Platform& Platform() { return m_platform; }
    // The front end start-up handed over to; null before.
    IFrontEnd* FrontEnd() { return m_pMainDlg; }

private:
    os::Platform& m_platform;
    std::string m_strAppName;
    std::unique_ptr<os::ISettingsStore> m_store;
    std::unique_ptr<CLogFile> m_log;
    IFrontEnd* m_pMainDlg = nullptr;
    bool m_bStarted = false;
};

// The executable's base name from its path: "C:\x\corvane.exe" gives "corvane".
std::string AppNameFromPath(const std::string& exePath);

} // namespace corvane
