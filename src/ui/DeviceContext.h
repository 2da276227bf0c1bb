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

// Pixels per logical inch of the screen.
inline int ScreenDpi() {
    return GetDeviceCaps(WindowDC(nullptr).get(), LOGPIXELSY);
}

}  // namespace korvex::ui
