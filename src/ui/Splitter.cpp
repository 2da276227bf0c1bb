#include "Splitter.h"

#include <algorithm>

namespace korvex::ui {

void Splitter::Create(Container& layout, Align align, int thickness, const Options& options) {
    layout_ = &layout;
    options_ = options;
    SetAlign(align);
    const bool vertical = align == Align::Left || align == Align::Right;
    CreateWin({.name = L"KorvexSplitter", .style = 0, .cursor = nullptr}, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
              0, layout.Handle(), vertical ? RECT{0, 0, thickness, 10} : RECT{0, 0, 10, thickness});
}

void Splitter::ScaleForDpi(int oldDpi, int newDpi) {
    Window::ScaleForDpi(oldDpi, newDpi);
    options_.minMoved = MulDiv(options_.minMoved, newDpi, oldDpi);
    options_.minRest = MulDiv(options_.minRest, newDpi, oldDpi);
}

int Splitter::ExtentOf(const Control* c) const {
    if (!c || !c->Handle()) return 0;
    RECT r;
    GetWindowRect(c->Handle(), &r);
    return Vertical() ? r.right - r.left : r.bottom - r.top;
}

void Splitter::OnPaint(HDC dc) {
    RECT r;
    GetClientRect(hwnd_, &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (options_.bevel) DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
}

void Splitter::MoveTo(POINT screen) {
    if (!options_.moved || !options_.moved->Handle()) return;
    // Moving towards the moved control's edge makes it smaller.
    const int delta = Vertical() ? screen.x - start_.x : screen.y - start_.y;
    const bool edgeIsFar = GetAlign() == Align::Right || GetAlign() == Align::Bottom;
    int extent = edgeIsFar ? startMoved_ - delta : startMoved_ + delta;
    // The rest gives what the moved control takes, down to its own smallest size.
    const int largest = std::max(startMoved_, startMoved_ + startRest_ - options_.minRest);
    extent = std::clamp(extent, std::min(options_.minMoved, largest), largest);
    if (extent == ExtentOf(options_.moved)) return;
    const HWND moved = options_.moved->Handle();
    RECT r;
    GetWindowRect(moved, &r);
    const int width = Vertical() ? extent : r.right - r.left;
    const int height = Vertical() ? r.bottom - r.top : extent;
    SetWindowPos(moved, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    layout_->Realign();
    // Live: the neighbours show their new sizes while the mouse is still down.
    UpdateWindow(GetParent(hwnd_));
}

void Splitter::EndDrag() {
    if (!dragging_) return;
    dragging_ = false;
    if (GetCapture() == hwnd_) ReleaseCapture();
}

LRESULT Splitter::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SETCURSOR:
            // The parents decide first, as for any child window (a busy window shows its own); the
            // class has no cursor of its own, so they leave the bar's to it.
            if (Default(msg, wParam, lParam)) return TRUE;
            if (LOWORD(lParam) == HTCLIENT) {
                SetCursor(LoadCursorW(nullptr, Vertical() ? IDC_SIZEWE : IDC_SIZENS));
                return TRUE;
            }
            break;
        case WM_LBUTTONDOWN: {
            POINT client{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ClientToScreen(hwnd_, &client);
            start_ = client;
            startMoved_ = ExtentOf(options_.moved);
            startRest_ = ExtentOf(options_.rest);
            dragging_ = true;
            SetCapture(hwnd_);
            return 0;
        }
        case WM_MOUSEMOVE:
            if (dragging_) {
                POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                ClientToScreen(hwnd_, &pt);
                MoveTo(pt);
            }
            return 0;
        case WM_LBUTTONUP:
            if (dragging_) {
                POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                ClientToScreen(hwnd_, &pt);
                MoveTo(pt);
                EndDrag();
            }
            return 0;
        case WM_CAPTURECHANGED: dragging_ = false; return 0;
        default: break;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

}  // namespace korvex::ui
