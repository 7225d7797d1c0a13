#include "drives/drive_state.h"

namespace corvane {
namespace {

constexpr BoundText kBoundTexts[] = {
    {kIdcFirmware, &CDriveState::m_strFirmware},
    {kIdcDriveLetter, &CDriveState::m_strDriveLetter},
    {kIdcBrand, &CDriveState::m_strBrand},
    {kIdcFormatSize, &CDriveState::m_strFormatSize},
    {kIdcFreeSpace, &CDriveState::m_strFreeSpace},
    {kIdcMaxSize, &CDriveState::m_strMaxSize},
    {kIdcUsedSpace, &CDriveState::m_strUsedSpace},
    {kIdcDriveType, &CDriveState::m_strDriveType},
    {kIdcModel, &CDriveState::m_strModel},
    {kIdcSizePerPlot, &CDriveState::m_strSizePerPlot},
    {kIdcStatus, &CDriveState::m_strStatus},
};

constexpr PanelField kPanelFields[] = {
    {"Drive Letter", kIdcDriveLetter, &CDriveState::m_strDriveLetter},
    {"Drive Brand", kIdcBrand, &CDriveState::m_strBrand},
    {"Drive Model", kIdcModel, &CDriveState::m_strModel},
    {"Drive Type", kIdcDriveType, &CDriveState::m_strDriveType},
    {"Interface", kIdcInterface, nullptr},
    {"Drive Firmware", kIdcFirmware, &CDriveState::m_strFirmware},
    {"Drive Max Size", kIdcMaxSize, &CDriveState::m_strMaxSize},
    {"Drive Format Size", kIdcFormatSize, &CDriveState::m_strFormatSize},
    {"Drive Free Space", kIdcFreeSpace, &CDriveState::m_strFreeSpace},
    {"Drive Used Space", kIdcUsedSpace, &CDriveState::m_strUsedSpace},
    {"Size per Plot", kIdcSizePerPlot, &CDriveState::m_strSizePerPlot},
};

} // namespace

CDriveState::CDriveState(os::IDriveSystem& drives, os::ISystem& system, IDriveView& view,
                         SettingWriter writeSetting)
    : m_ScsiCommand(drives, system), drives_(drives), system_(system), view_(view),
      writeSetting_(std::move(writeSetting)) {}

std::span<const BoundText> CDriveState::BoundTexts() {
    return kBoundTexts;
}
std::span<const PanelField> CDriveState::PanelFields() {
    return kPanelFields;
}

void CDriveState::OnRunStarted(const std::string& drive, std::uint64_t size,
                               std::uint32_t sectorSize) {
    std::lock_guard lock(runMutex_);
    running_ = RunningDrive{drive, size, sectorSize, 0};
}

void CDriveState::OnRunEnded() {
    std::lock_guard lock(runMutex_);
    // A drive selected during the run had its geometry read without touching the field; the
    // field now follows that selection, as it would have without the run.
    if (running_ && running_->selectedSectorSize != 0)
        m_nSectorSize.store(running_->selectedSectorSize);
    running_.reset();
}

bool CDriveState::RunActive() const {
    std::lock_guard lock(runMutex_);
    return running_.has_value();
}

std::optional<CDriveState::RunningDrive> CDriveState::Running() const {
    std::lock_guard lock(runMutex_);
    return running_;
}

void CDriveState::NoteSelectedSectorSize(std::uint32_t sectorSize) {
    std::lock_guard lock(runMutex_);
    if (running_)
        running_->selectedSectorSize = sectorSize;
}

} // namespace corvane
