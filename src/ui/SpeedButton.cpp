#include "SpeedButton.h"

#include <windowsx.h>

#include "UniqueResource.h"

namespace korvex::ui {

void SpeedButton::Create(HWND parent, int id, SIZE size, const wchar_t* caption) {
    CreateWin({.name = L"KorvexSpeedButton"}, caption, WS_CHILD | WS_VISIBLE, 0, parent, RECT{0, 0, size.cx, size.cy},
              id);
}

void SpeedButton::Click() {
    if (!IsWindowEnabled(hwnd_)) return;
    SendMessageW(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd_), BN_CLICKED),
                 reinterpret_cast<LPARAM>(hwnd_));
}

void SpeedButton::SetHot(bool hot) {
    if (hot_ == hot) return;
    hot_ = hot;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void SpeedButton::OnPaint(HDC dc) {
    RECT r;
    GetClientRect(hwnd_, &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    const bool down = pressed_ && hot_;
    if (down)
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    else if (hot_)
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    const std::wstring caption = Text();
    if (down) OffsetRect(&r, 1, 1);
    SetBkMode(dc, TRANSPARENT);
    const platform::SelectedObject selectedFont(dc, Font());
    if (IsWindowEnabled(hwnd_)) {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextW(dc, caption.c_str(), -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    } else {
        OffsetRect(&r, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextW(dc, caption.c_str(), -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
        OffsetRect(&r, -1, -1);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, caption.c_str(), -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    }
}

LRESULT SpeedButton::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND: return 1;
        case WM_SETTEXT: {
            const LRESULT result = Default(msg, wParam, lParam);
            InvalidateRect(hwnd_, nullptr, TRUE);
            return result;
        }
        case WM_ENABLE: InvalidateRect(hwnd_, nullptr, TRUE); return 0;
        case WM_MOUSEMOVE: {
            if (!tracking_) {
                TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd_, 0};
                tracking_ = TrackMouseEvent(&tme) != FALSE;
            }
            RECT r;
            GetClientRect(hwnd_, &r);
            const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            SetHot(PtInRect(&r, pt) != FALSE);
            return 0;
        }
        case WM_MOUSELEAVE:
            tracking_ = false;
            if (!pressed_) SetHot(false);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            pressed_ = true;
            hot_ = true;
            SetCapture(hwnd_);
            InvalidateRect(hwnd_, nullptr, TRUE);
            return 0;
        case WM_LBUTTONUP: {
            const bool wasDown = pressed_ && hot_;
            pressed_ = false;
            if (GetCapture() == hwnd_) ReleaseCapture();
            InvalidateRect(hwnd_, nullptr, TRUE);
            if (wasDown) Click();
            return 0;
        }
        case WM_CAPTURECHANGED:
            pressed_ = false;
            InvalidateRect(hwnd_, nullptr, TRUE);
            return 0;
        case BM_CLICK: Click(); return 0;
        default: break;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

}  // namespace korvex::ui
