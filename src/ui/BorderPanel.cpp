#include "BorderPanel.h"

namespace korvex::ui {

namespace {
constexpr int kBevel = 1;  // the lowered inner bevel: shadow left and top, highlight right and bottom
}

void BorderPanel::Create(HWND parent, SIZE size, int borderWidth) {
    border_ = borderWidth;
    CreateWin({.name = L"KorvexBorderPanel"}, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
              WS_EX_CONTROLPARENT, parent, RECT{0, 0, size.cx, size.cy});
}

void BorderPanel::ScaleForDpi(int oldDpi, int newDpi) {
    border_ = MulDiv(border_, newDpi, oldDpi);
    Container::ScaleForDpi(oldDpi, newDpi);
}

RECT BorderPanel::DockArea() const {
    RECT r = Container::DockArea();
    InflateRect(&r, -(border_ + kBevel), -(border_ + kBevel));
    return r;
}

void BorderPanel::OnPaint(HDC dc) {
    RECT r;
    GetClientRect(hwnd_, &r);
    InflateRect(&r, -border_, -border_);
    DrawEdge(dc, &r, BDR_SUNKENINNER, BF_RECT);
}

LRESULT BorderPanel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SIZE) InvalidateRect(hwnd_, nullptr, TRUE);
    return Container::HandleMessage(msg, wParam, lParam);
}

}  // namespace korvex::ui
