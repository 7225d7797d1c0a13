#include "ui/meltrick.h"

#include <atomic>

#include "os/vocabulary.h"
#include "ui/about_dlg.h"
#include "ui/dialog_messages.h"
#include "ui/dialog_templates.h"

namespace corvane {
namespace {

constexpr int kMapWidth = 501;
constexpr int kMapHeight = 480;
constexpr int kWindowWidth = 830;
constexpr int kWindowHeight = 600;
constexpr int kCaptionAllowance = 35;
constexpr int kFontHeight = 14;
constexpr const char* kFontFace = "Arial";

constexpr std::int32_t kDefaultFrameColour = 7171437;
constexpr std::int32_t kDefaultBackgroundColour = 0;
constexpr std::int32_t kDefaultSpeedColour = 65535;
constexpr std::int32_t kDefaultSecondColour = 65280;

// The controls take the font only once in the life of the process: a second main window keeps
// the template's font.
std::atomic<bool> fontMade{false};

} // namespace

CMeltrick::CMeltrick(IDialogHost& host, os::Platform& platform, SettingReader readSetting,
                     SettingWriter writeSetting)
    : m_host(host), m_platform(platform), m_readSetting(std::move(readSetting)),
      m_DriveState(*platform.drives, *platform.system, static_cast<IDriveView&>(*this),
                   std::move(writeSetting)),
      m_RunControl(platform, static_cast<IRunControlView&>(*this)) {
    // A run holds its drive: choosing it meanwhile never opens it, and its sector size stays.
    m_RunControl.onRunStarted = [this](const std::string& drive, std::uint64_t size,
                                       std::uint32_t sectorSize) {
        m_DriveState.OnRunStarted(drive, size, sectorSize);
    };
    m_RunControl.onRunEnded = [this] { m_DriveState.OnRunEnded(); };
}

CMeltrick::~CMeltrick() {
    // Ending by OK or Cancel skips OnClose: the worker must still be gone before the controls
    // and the drive records it uses.
    m_RunControl.OnCloseWindow();
    m_DriveState.m_ScsiCommand.CloseAssociateHandle();
    m_Graph.Attach(nullptr);
    m_Progress.Attach(nullptr);
    if (m_Font != 0)
        m_host.DeleteFont(m_Font);
}

bool CMeltrick::WindowProc(std::uint32_t message, WParam wParam, LParam) {
    if (message == kWmDeviceChange && wParam == kDbtDevNodesChanged)
        RefillDriveList();
    switch (message) {
    case kWmSysCommand:
        // Move, minimise, close and the rest are the framework's.
        return OnSysCommand(static_cast<unsigned>(wParam));
    case kWmSize:
        OnSize();
        return false; // the framework's default handling follows
    case kWmClose:
        OnClose();
        return true;
    case kWmTimer:
        OnTimer(static_cast<int>(wParam));
        return true;
    case kWmCommand: {
        const int id = static_cast<int>(wParam & 0xFFFF);
        const unsigned code = static_cast<unsigned>((wParam >> 16) & 0xFFFF);
        if (id == kIdcDriveCombo && code == kCbnSelChange)
            OnDriveSelChange();
        else if (id == kIdcStartTest && code == kBnClicked)
            OnStartTest();
        else if (id == kIdcStopTest && code == kBnClicked)
            OnStopTest();
        else if ((id == kIdcQuickTest || id == kIdcFullTest) && code == kBnClicked)
            OnTestMode();
        else
            return false;
        return true;
    }
    default:
        return false; // WM_HSCROLL among them: the framework's handling only
    }
}

void CMeltrick::DoDataExchange(bool save) {
    if (!m_bAttached) {
        m_bAttached = true;
        m_Progress.Attach(m_host.SubclassDlgItem(kIdcProgress, [this](auto m, auto w, auto l) {
            return m_Progress.WindowProc(m, w, l);
        }));
        m_Graph.Attach(m_host.SubclassDlgItem(
            kIdcGraph, [this](auto m, auto w, auto l) { return m_Graph.WindowProc(m, w, l); }));
    }
    // The bound texts in their order, the radio group, and the status line last.
    auto exchangeText = [&](const BoundText& bound) {
        std::string& member = m_DriveState.*bound.text;
        if (save)
            member = m_host.GetDlgItemText(bound.id);
        else
            m_host.SetDlgItemText(bound.id, member);
    };
    const BoundText* status = nullptr;
    for (const BoundText& bound : CDriveState::BoundTexts()) {
        if (bound.id == kIdcStatus)
            status = &bound;
        else
            exchangeText(bound);
    }
    if (save) {
        const int checked = m_host.GetCheckedRadioButton(kIdcQuickTest, kIdcFullTest);
        m_nTestMode = checked == 0 ? -1 : checked - kIdcQuickTest;
    } else {
        const bool valid = m_nTestMode >= 0 && m_nTestMode <= kIdcFullTest - kIdcQuickTest;
        m_host.CheckRadioButton(kIdcQuickTest, kIdcFullTest,
                                valid ? kIdcQuickTest + m_nTestMode : 0);
    }
    if (status != nullptr)
        exchangeText(*status);
}

bool CMeltrick::OnInitDialog() {
    UpdateData(false);
    const std::string about = m_host.LoadString(kIdsAboutBox);
    if (!about.empty())
        m_host.AppendSystemMenuItem(about, kIdmAboutBox);
    m_host.SetIcon(kIdrMainFrame);
    m_nTestMode = 0;
    m_Graph.ResetMap();
    m_host.InvalidateControl(kIdcGraph);
    m_Graph.SetMapSize(kMapWidth, kMapHeight);
    LoadMapColours();
    ClearDrivePanel();
    m_Graph.SetSpeedColour(m_readSetting(kGraphSpeedColor, kDefaultSpeedColour));
    m_Graph.SetSecondColour(m_readSetting(kGraphRpmColor, kDefaultSecondColour));
    m_host.UpdateWindow();
    RefillDriveList();
    ArrangeControls();
    return true;
}

void CMeltrick::LoadMapColours() {
    const Colour frame = m_readSetting(kGraphFgColor, kDefaultFrameColour);
    const std::uint32_t second = m_readSetting(kGraphFgColor, kDefaultFrameColour);
    // The fine grid is the frame's colour at half strength, channel by channel.
    const std::uint32_t red = (second & 0xFF) / 2;
    const std::uint32_t green = ((second / 256) & 0xFF) / 2;
    const std::uint32_t blue = ((second / 65536) & 0xFF) / 2;
    const Colour fine = red | (green << 8) | (blue << 16);
    const Colour background = m_readSetting(kGraphBgColor, kDefaultBackgroundColour);
    m_Graph.SetGridColours(frame, fine, background);
}

void CMeltrick::ArrangeControls() {
    for (const DialogControl& c : MainDialogTemplate().controls)
        if (c.finalPosition)
            m_host.MoveDlgItem(c.id, *c.finalPosition);
    if (!fontMade.exchange(true)) {
        // A font that cannot be made leaves the template's font in place.
        m_Font = m_host.CreateFont(kFontHeight, kFontFace);
        if (m_Font != 0)
            m_host.SetFontToAllChildren(m_Font);
    }
    m_host.InvalidateControl(0);
}

bool CMeltrick::OnSysCommand(unsigned id) {
    if ((id & 0xFFF0u) != kIdmAboutBox)
        return false;
    CAboutDlg about;
    about.DoModal(m_host);
    return true;
}

void CMeltrick::OnSize() {
    int caption = m_host.CaptionHeight();
    if (caption >= kCaptionAllowance)
        caption -= kCaptionAllowance;
    m_host.SetWindowSize(kWindowWidth, kWindowHeight + caption);
}

void CMeltrick::OnClose() {
    m_RunControl.m_bTestRunning.store(0);
    EnableControl(kIdcStopTest, false);
    EnableControl(kIdcStartTest, true);
    for (int i = m_host.ComboGetCount(kIdcDriveCombo) - 1; i >= 0; --i)
        m_host.ComboDeleteString(kIdcDriveCombo, i);
    m_host.ComboResetContent(kIdcDriveCombo);
    m_DriveState.m_DeviceList.clear();
    // The worker stops at its next block and shows nothing of the run after this. Waiting for
    // it here could deadlock a window system whose worker waits for this thread; the dialog's
    // destruction waits instead, once the host has dispatched until the worker ended.
    m_RunControl.RequestClose();
    m_host.EndDialog(0);
}

void CMeltrick::OnStartTest() {
    m_RunControl.OnStartTest(m_DriveState.m_pDevice.get(), m_DriveState.m_nSectorSize,
                             m_DriveState.m_DeviceList.empty());
}

void CMeltrick::OnTestMode() {
    UpdateData(true);
    m_RunControl.OnTestMode(m_nTestMode);
}

void CMeltrick::OnTimer(int) {
    m_host.KillTimer(kDriveSelectTimer);
    OnDriveSelChange();
}

int CMeltrick::MessageBox(const std::string& text, const std::string& caption,
                          std::uint32_t style) {
    return m_host.MessageBox(text, caption, style);
}

void CMeltrick::EnableControl(int id, bool enabled) {
    m_host.EnableDlgItem(id, enabled);
}

void CMeltrick::SetControlText(int id, const std::string& text) {
    m_host.SetDlgItemText(id, text);
}

void CMeltrick::SetProgressPos(int position) {
    m_host.SendDlgItemMessage(kIdcProgress, kPbmSetPos, static_cast<WParam>(position), 0);
}

void CMeltrick::SetProgressText(const std::string& text) {
    m_host.SendDlgItemMessage(kIdcProgress, kWmSetText, 0, reinterpret_cast<LParam>(text.c_str()));
}

void CMeltrick::SetProgressRange(int lower, int upper) {
    m_host.SendDlgItemMessage(kIdcProgress, kPbmSetRange32, static_cast<WParam>(lower),
                              static_cast<LParam>(upper));
}

void CMeltrick::ComboResetContent() {
    m_host.ComboResetContent(kIdcDriveCombo);
}
void CMeltrick::ComboAddString(const std::string& line) {
    m_host.ComboAddString(kIdcDriveCombo, line);
}
void CMeltrick::ComboSetCurSel(int index) {
    m_host.ComboSetCurSel(kIdcDriveCombo, index);
}
int CMeltrick::ComboGetCurSel() {
    return m_host.ComboGetCurSel(kIdcDriveCombo);
}
int CMeltrick::ComboGetCount() {
    return m_host.ComboGetCount(kIdcDriveCombo);
}

void CMeltrick::StartTimer(int id, unsigned periodMs) {
    m_host.SetTimer(id, periodMs);
}

void CMeltrick::AddPlots(std::uint64_t count) {
    for (std::uint64_t i = 0; i < count; ++i)
        m_Graph.AddPlot();
}

void CMeltrick::LaunchFormatter(int driveNumber, const std::string& drive) {
    m_host.OfferFormat(driveNumber, drive);
}

} // namespace corvane
