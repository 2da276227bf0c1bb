#pragma once

#include <windows.h>

namespace korvex::ui {

// A window's device context (the screen's for no window), released at the end of its scope.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// The program's window font, "MS Sans Serif" 8 points at the given pixels per inch. The caller
// owns it (DeleteObject).
inline HFONT CreateWindowFont(int dpi) {
    return CreateFontW(-MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
}

// Pixels per logical inch of the screen.
inline int ScreenDpi() {
    return GetDeviceCaps(WindowDC(nullptr).get(), LOGPIXELSY);
}

}  // namespace korvex::ui
