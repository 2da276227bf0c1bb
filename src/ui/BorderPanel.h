#pragma once
// A docking container with a blank border of a given width and, inside it, a lowered one-pixel
// bevel around what it holds.

#include "Window.h"

namespace korvex::ui {

class BorderPanel : public Container {
public:
    void Create(HWND parent, SIZE size, int borderWidth);
    int BorderWidth() const noexcept { return border_; }
    // The border follows the new scale.
    void ScaleForDpi(int oldDpi, int newDpi) override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    RECT DockArea() const override;

private:
    void OnPaint(HDC dc) override;
    int border_ = 0;
};

}  // namespace korvex::ui
