#pragma once
// A thin bar docked between two controls: dragging it with the mouse moves the border between
// them. It changes the extent of the control docked on the same edge beside it (the one between
// the bar and the edge) and lets the client-filling control take the rest; each keeps a smallest
// size. The parent's layout follows every move of the mouse (live resizing).

#include "Window.h"

namespace korvex::ui {

class Splitter : public Window {
public:
    struct Options {
        Control* moved = nullptr;  // docked on the splitter's edge, between it and the edge
        Control* rest = nullptr;   // the control that fills what remains
        int minMoved = 0;          // smallest extents across the splitter, in pixels
        int minRest = 0;
        bool bevel = true;
    };

    // align is Left, Right (a vertical bar) or Top, Bottom (a horizontal bar); thickness is the
    // bar's extent across it. layout is the container that docks the splitter and its neighbours.
    void Create(Container& layout, Align align, int thickness, const Options& options);

    bool Vertical() const noexcept { return GetAlign() == Align::Left || GetAlign() == Align::Right; }
    int MinMoved() const noexcept { return options_.minMoved; }
    int MinRest() const noexcept { return options_.minRest; }
    bool Dragging() const noexcept { return dragging_; }

    // The smallest sizes follow the scale with the bar's own extent.
    void ScaleForDpi(int oldDpi, int newDpi) override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint(HDC dc) override;
    int ExtentOf(const Control* c) const;
    void MoveTo(POINT screen);
    void EndDrag();

    Container* layout_ = nullptr;
    Options options_;
    bool dragging_ = false;
    POINT start_{};       // the mouse at the press, in screen coordinates
    int startMoved_ = 0;  // the moved control's extent at the press
    int startRest_ = 0;   // the rest's extent at the press
};

}  // namespace korvex::ui
