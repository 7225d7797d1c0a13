#pragma once
#include <atomic>
#include <map>
#include <memory>
#include <vector>

#include "canvas/software_canvas.h"
#include "ui/controls/control_window.h"

namespace corvane::testing {

// A control's window without a window system: its client area is a software canvas (the
// screen), and it records every repaint the control asks for and every message passed on.
class RecordingControlWindow : public IControlWindow {
public:
    struct PassedOn {
        std::uint32_t message;
        WParam wParam;
        LParam lParam;
    };

    // A screen of width by height in a colour that the control never draws, so untouched
    // pixels show.
    RecordingControlWindow(int width, int height, Colour screenColour = 0x00FF00FF)
        : screen(width, height, screenColour) {}

    SoftwareCanvas screen;
    std::atomic<int> invalidations{0};
    int redraws = 0;
    int paints = 0;
    // Drawing straight onto the paint context, and off-screen pictures made on it.
    int directDraws = 0;
    int offscreens = 0;
    int sizedWidth = 0, sizedHeight = 0; // the last SetSize
    bool vertical = false;
    FontHandle parentFont = 0;
    std::map<int, Colour> systemColours{{kColorHighlight, 0x00D77800}, {kColorWindow, 0x00FFFFFF}};
    std::vector<PassedOn> passedOn;
    LResult defaultResult = 0;

    void Invalidate() override { ++invalidations; }
    void RedrawNow() override { ++redraws; }
    void SetSize(int w, int h) override {
        sizedWidth = w;
        sizedHeight = h;
    }
    Rect ClientRect() const override { return screen.Bounds(); }
    bool IsVertical() const override { return vertical; }
    FontHandle ParentFont() const override { return parentFont; }
    Colour SystemColour(int index) const override { return systemColours.at(index); }
    LResult CallDefault(std::uint32_t message, WParam wParam, LParam lParam) override {
        passedOn.push_back({message, wParam, lParam});
        return defaultResult;
    }
    std::unique_ptr<ICanvas> BeginPaint() override {
        ++paints;
        return std::make_unique<PaintCanvas>(*this);
    }

    // All repaints asked for, either way.
    int Repaints() const { return invalidations.load() + redraws; }

private:
    // The screen for the length of one paint.
    class PaintCanvas : public ICanvas {
    public:
        explicit PaintCanvas(RecordingControlWindow& window) : window_(window) {}
        void FillRect(const Rect& rect, Colour colour) override {
            ++window_.directDraws;
            window_.screen.FillRect(rect, colour);
        }
        void Line(Point from, Point to, Colour colour) override {
            ++window_.directDraws;
            window_.screen.Line(from, to, colour);
        }
        void DrawText(std::string_view text, const Rect& rect, const Rect& clip, Colour colour,
                      FontHandle font) override {
            ++window_.directDraws;
            window_.screen.DrawText(text, rect, clip, colour, font);
        }
        Rect ClipBox() const override { return window_.screen.ClipBox(); }
        std::unique_ptr<IOffscreenCanvas> CreateOffscreen(const Rect& area) override {
            ++window_.offscreens;
            return window_.screen.CreateOffscreen(area);
        }

    private:
        RecordingControlWindow& window_;
    };
};

} // namespace corvane::testing
