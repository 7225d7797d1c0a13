#include "ui/controls/text_progress_ctrl.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "ui/controls/my_mem_dc.h"

namespace corvane {
namespace {

constexpr const char* kPercentSuffix = " % Complete";

// Fill lengths are kept far inside int, so that an edge plus a fill cannot overflow: a fill
// beyond the window is clipped anyway.
constexpr double kFillLimit = 1 << 30;

// The 32-bit sum a position step gives, wrapping as the platform's arithmetic does instead of
// overflowing.
std::int32_t WrappingSum(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

std::int32_t LowSigned32(WParam value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// The text drawn when the owner has set none: the percentage (already truncated), held to
// what an int shows.
std::string PercentText(double percent) {
    const int shown = percent >= INT_MAX   ? INT_MAX
                      : percent <= INT_MIN ? INT_MIN
                                           : static_cast<int>(percent);
    return std::to_string(shown) + kPercentSuffix;
}

} // namespace

double CTextProgressCtrl::ShareOf(double whole) const {
    // The product comes before the division: a share that is whole (29 % of 0 to 100, 58 of
    // 200 pixels) then comes out whole. Dividing first rounds 0.29 and gives 28.999..., one
    // short, and on builds that keep extended precision even 0.42 x 100 falls short of 42.
    return std::trunc(whole * (static_cast<double>(position_) - lower_) /
                      (static_cast<double>(upper_) - lower_));
}

std::int32_t CTextProgressCtrl::FillLength(const Rect& client) const {
    // An empty range has no fraction (it would divide by zero) and draws nothing.
    if (lower_ >= upper_)
        return 0;
    const int length = window_ && window_->IsVertical() ? client.Height() : client.Width();
    const double fill = ShareOf(length);
    if (fill >= kFillLimit)
        return static_cast<std::int32_t>(kFillLimit);
    if (fill <= -kFillLimit)
        return -static_cast<std::int32_t>(kFillLimit);
    return static_cast<std::int32_t>(fill);
}

void CTextProgressCtrl::Invalidate() {
    if (window_)
        window_->Invalidate();
}

LResult CTextProgressCtrl::PassOn(std::uint32_t message, WParam wParam, LParam lParam) {
    return window_ ? window_->CallDefault(message, wParam, lParam) : 0;
}

LResult CTextProgressCtrl::WindowProc(std::uint32_t message, WParam wParam, LParam lParam) {
    switch (message) {
    case kPbmSetRange: {
        const LResult result = PassOn(message, wParam, lParam);
        const auto range = static_cast<std::uint32_t>(lParam);
        lower_ = static_cast<std::int32_t>(range & 0xFFFF);
        upper_ = static_cast<std::int32_t>(range >> 16);
        return result;
    }
    case kPbmSetPos:
        return OnSetPos(wParam);
    case kPbmDeltaPos:
        return WindowProc(kPbmSetPos,
                          static_cast<WParam>(WrappingSum(position_, LowSigned32(wParam))), 0);
    case kPbmSetStep: {
        const std::int32_t old = step_;
        step_ = LowSigned32(wParam);
        return old;
    }
    case kPbmStepIt:
        return WindowProc(kPbmSetPos, static_cast<WParam>(WrappingSum(position_, step_)), 0);
    case kPbmSetRange32: {
        const LResult result = PassOn(message, wParam, lParam);
        lower_ = LowSigned32(wParam);
        upper_ = LowSigned32(static_cast<WParam>(lParam));
        return result;
    }
    case kPbmGetRange:
        if (lParam != 0) {
            auto* range = reinterpret_cast<PbRange*>(lParam);
            range->iLow = lower_;
            range->iHigh = upper_;
        }
        return wParam != 0 ? lower_ : upper_;
    case kPbmGetPos:
        return position_;
    case kPbmSetBarColor: {
        Invalidate();
        const Colour old = barColour_;
        barColour_ = static_cast<Colour>(lParam);
        return old;
    }
    case kPbmSetBkColor: {
        Invalidate();
        const Colour old = backgroundColour_;
        backgroundColour_ = static_cast<Colour>(lParam);
        return old;
    }
    case kTpcSetTextColor: {
        Invalidate();
        const Colour old = textColour_;
        textColour_ = static_cast<Colour>(lParam);
        return old;
    }
    case kTpcShowText: {
        const LResult result = PassOn(message, wParam, lParam);
        const bool show = wParam != 0;
        if (show != showText_)
            Invalidate();
        showText_ = show;
        return result;
    }
    case kWmSetText: {
        const LResult result = PassOn(message, wParam, lParam);
        const auto* text = reinterpret_cast<const char*>(lParam);
        text_ = text ? text : "";
        Invalidate();
        return result;
    }
    case kWmGetText:
        return OnGetText(wParam, lParam);
    case kWmSetFont:
        return OnSetFont(wParam, lParam);
    case kWmGetFont:
        return static_cast<LResult>(font_);
    case kWmSize: {
        const LResult result = PassOn(message, wParam, lParam);
        lastFill_ = -1;
        return result;
    }
    case kWmEraseBkgnd:
        return 1;
    case kWmPaint:
        return OnPaint();
    default:
        return PassOn(message, wParam, lParam);
    }
}

LResult CTextProgressCtrl::OnSetPos(WParam wParam) {
    if (!window_)
        return -1;
    const std::int32_t old = position_;
    position_ = LowSigned32(wParam);
    const std::int32_t fill = FillLength(window_->ClientRect());
    if (fill != lastFill_) {
        lastFill_ = fill;
        window_->RedrawNow();
    }
    return old;
}

LResult CTextProgressCtrl::OnGetText(WParam wParam, LParam lParam) const {
    // A buffer of wParam characters takes wParam - 1 of them and the terminator; one of no
    // characters has no room even for that.
    auto* buffer = reinterpret_cast<char*>(lParam);
    if (buffer == nullptr || wParam == 0)
        return 0;
    const std::size_t copied = std::min<std::size_t>(text_.size(), wParam - 1);
    std::memcpy(buffer, text_.data(), copied);
    buffer[copied] = '\0';
    return static_cast<LResult>(copied);
}

LResult CTextProgressCtrl::OnSetFont(WParam wParam, LParam lParam) {
    // The font is only borrowed (see font_), so the one it replaces is not released here.
    font_ = static_cast<FontHandle>(wParam);
    if (lParam != 0 && window_)
        window_->RedrawNow();
    return 0;
}

LResult CTextProgressCtrl::OnPaint() {
    if (!window_)
        return 0;
    // Beginning and ending the paint validates the window even when nothing is drawn, so an
    // empty range is not asked to paint again and again.
    std::unique_ptr<ICanvas> paint = window_->BeginPaint();
    if (lower_ >= upper_)
        return 0;

    const Colour bar =
        barColour_ == kClrDefault ? window_->SystemColour(kColorHighlight) : barColour_;
    const Colour background =
        backgroundColour_ == kClrDefault ? window_->SystemColour(kColorWindow) : backgroundColour_;
    const Rect client = window_->ClientRect();
    const std::int32_t fill = FillLength(client);
    const bool vertical = window_->IsVertical();

    CMyMemDC dc(*paint);
    const FontHandle font = window_->ParentFont();

    Rect filled = client;
    Rect empty = client;
    if (vertical) {
        filled.top = client.bottom - fill;
        empty.bottom = filled.top;
    } else {
        filled.right = client.left + fill;
        empty.left = filled.right;
    }
    dc.FillRect(filled, bar);
    dc.FillRect(empty, background);

    if (showText_ && !vertical) {
        const std::string text = text_.empty() ? PercentText(ShareOf(100)) : text_;
        const bool ownColour = textColour_ != kClrDefault;
        dc.DrawText(text, client, filled, ownColour ? textColour_ : background, font);
        dc.DrawText(text, client, empty, ownColour ? textColour_ : bar, font);
    }
    return 0;
}

} // namespace corvane
