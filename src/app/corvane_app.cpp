#include "app/corvane_app.h"

#include "app/version_code.h"
#include "log/log_header.h"
#include "log/log_state.h"

namespace corvane {

CCorvaneApp::CCorvaneApp(os::Platform& platform, std::string appName)
    : platform_(platform), appName_(std::move(appName)) {}

CCorvaneApp::~CCorvaneApp() {
    if (ProcessLog() == log_.get())
        SetProcessLog(nullptr);
}

int CCorvaneApp::GetWindowsVersionCode() {
    return ClassifyWindowsVersion(platform_.system->Version());
}

bool CCorvaneApp::IsCurrentUserAdmin() {
    return platform_.system->IsCurrentUserAdmin();
}

std::uint32_t CCorvaneApp::GetSettingInt(const std::string& key, int defaultValue) {
    if (store_) {
        if (std::optional<std::uint32_t> value = store_->GetInt(kSettingsSection, key))
            return *value;
    }
    return static_cast<std::uint32_t>(defaultValue);
}

bool CCorvaneApp::WriteSettingInt(const std::string& key, int value) {
    return store_ && store_->WriteInt(kSettingsSection, key, value);
}

bool CCorvaneApp::InitInstance(IFrontEnd& frontEnd) {
    os::ISystem& system = *platform_.system;
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

    store_ = platform_.settings->Open(kRegistryKey, appName_);

    SetProcessLog(nullptr);
    if (GetSettingInt(kAllowLogging, 1) == 1) {
        log_ = std::make_unique<CLogFile>(system);
        SetProcessLog(log_.get());
        std::string drive;
        std::string directory;
        // A folder whose directory part is too long leaves the log off, and so does a temp
        // folder the system cannot name (the log would land in the working directory).
        const std::string tempFolder = system.TempFolder();
        if (!tempFolder.empty() && SplitLogFolder(tempFolder, drive, directory))
            log_->StartLog(drive + directory, kLogBaseName);
    }
    if (LoggingOn())
        LogStartupMemory(system);

    started_ = true;
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
