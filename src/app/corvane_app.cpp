#include "app/corvane_app.h"

#include "app/version_code.h"
#include "log/log_header.h"
#include "log/log_state.h"

namespace corvane {

CCorvaneApp::CCorvaneApp(os::Platform& platform, std::string appName)
    : m_platform(platform), m_strAppName(std::move(appName)) {}

CCorvaneApp::~CCorvaneApp() {
    if (ProcessLog() == m_log.get())
        SetProcessLog(nullptr);
}

int CCorvaneApp::GetWindowsVersionCode() {
    return ClassifyWindowsVersion(m_platform.system->Version());
}

bool CCorvaneApp::IsCurrentUserAdmin() {
    return m_platform.system->IsCurrentUserAdmin();
}

std::uint32_t CCorvaneApp::GetSettingInt(const std::string& key, int defaultValue) {
    if (m_store) {
        if (std::optional<std::uint32_t> value = m_store->GetInt(kSettingsSection, key))
            return *value;
    }
    return static_cast<std::uint32_t>(defaultValue);
}

bool CCorvaneApp::WriteSettingInt(const std::string& key, int value) {
    return m_store && m_store->WriteInt(kSettingsSection, key, value);
}

bool CCorvaneApp::InitInstance(IFrontEnd& frontEnd) {
    os::ISystem& system = *m_platform.system;
    // Common controls are registered by the Windows host before it calls in.

    const int versionCode = GetWindowsVersionCode();
    if (versionCode <= 2) {
        frontEnd.MessageBox(kOsNotSupportedText, kOsNotSupportedCaption, kMbIconError);
        return false;
    }
    if ((versionCode == 3 || versionCode == 4) && !IsCurrentUserAdmin()) {
        frontEnd.MessageBox(kNeedAdminText, kNeedAdminCaption, kMbIconError);
        return false;
    }
    if (!system.StartSockets()) {
        frontEnd.MessageBox(kSocketsFailedText, "", kMbIconError);
        return false;
    }

    m_store = m_platform.settings->Open(kRegistryKey, m_strAppName);

    SetProcessLog(nullptr);
    if (GetSettingInt(kAllowLogging, 1) == 1) {
        m_log = std::make_unique<CLogFile>(system);
        SetProcessLog(m_log.get());
        std::string drive;
        std::string directory;
        // A folder whose directory part is too long leaves the log off, and so does a temp
        // folder the system cannot name (the log would land in the working directory).
        const std::string tempFolder = system.TempFolder();
        if (!tempFolder.empty() && SplitLogFolder(tempFolder, drive, directory))
            m_log->StartLog(drive + directory, kLogBaseName);
    }
    if (LoggingOn())
        LogStartupMemory(system);

    m_bStarted = true;
    m_pMainDlg = &frontEnd;
    frontEnd.RunMainDialog(*this);
    m_pMainDlg = nullptr;
    return false;
}

std::string AppNameFromPath(const std::string& exePath) {
    const std::size_t sep = exePath.find_last_of("\\/");
    std::string name = sep == std::string::npos ? exePath : exePath.substr(sep + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot != 0)
        name.erase(dot);
    return name;
}

} // namespace corvane
