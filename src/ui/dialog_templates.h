#pragma once
#include <cstdint>
#include <optional>
#include <span>

#include "canvas/geometry.h"

namespace corvane {

// The dialog templates of the program, the one description every host builds its windows
// from: the Win32 resource script is checked against it, the other hosts read it directly.

inline constexpr int kIddMainDialog = 350;
inline constexpr int kIddAboutBox = 100;
inline constexpr int kIdsAboutBox = 101;
inline constexpr int kIdrMainFrame = 101;
inline constexpr int kIdcAboutTitle = 1541;
inline constexpr int kIdcAboutWeb = 1098;
// A control that no code names (the resource script's IDC_STATIC).
inline constexpr int kIdcStatic = -1;

enum class ControlKind { Static, Edit, PushButton, RadioButton, ComboBox, ProgressBar };

// Styles as our hosts need them; each host maps them to its own.
enum ControlStyle : std::uint32_t {
    kStyleLeft = 1u << 0,
    kStyleCentred = 1u << 1,
    kStyleGroup = 1u << 2,
    kStyleTabStop = 1u << 3,
    kStyleDisabled = 1u << 4,
    kStyleReadOnly = 1u << 5,
    kStyleBorder = 1u << 6,
    kStyleAutoHScroll = 1u << 7,
    kStyleAutoRadio = 1u << 8,
    kStyleFirstOfGroup = 1u << 9,
    kStyleDropDownList = 1u << 10,
    kStyleSorted = 1u << 11,
    kStyleVScroll = 1u << 12,
    kStyleSmooth = 1u << 13,
    kStyleSelfDrawn = 1u << 14,
};

// A value field: read-only, centred, scrolling sideways, a tab stop.
inline constexpr std::uint32_t kStyleValueField =
    kStyleReadOnly | kStyleCentred | kStyleAutoHScroll | kStyleTabStop | kStyleBorder;

struct TemplateRect {
    int x, y, width, height; // dialog units
    friend bool operator==(const TemplateRect&, const TemplateRect&) = default;
};

struct DialogControl {
    int id;
    ControlKind kind;
    const char* text; // null: the control has no text
    TemplateRect rect;
    // Where ArrangeControls puts it, in client pixels; none when it stays where it is.
    std::optional<Point> finalPosition;
    std::uint32_t style;
};

struct DialogTemplate {
    int id;
    const char* caption;
    int width, height; // dialog units
    const char* fontFace;
    int fontPoints;
    std::span<const DialogControl> controls; // in template (tab) order
};

const DialogTemplate& MainDialogTemplate();
const DialogTemplate& AboutBoxTemplate();
// The template of id (kIddMainDialog, kIddAboutBox), or null.
const DialogTemplate* FindTemplate(int id);
// The control of id in tmpl, or null.
const DialogControl* FindControl(const DialogTemplate& tmpl, int id);

// String 101: the system menu's About item.
inline constexpr const char* kAboutMenuText = "&About Corvane...";
// The system menu command of the About item; the low four bits are the system's own.
inline constexpr unsigned kIdmAboutBox = 16;

} // namespace corvane
