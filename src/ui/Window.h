#pragma once
// Windows of our own classes: one window procedure that routes every message to the object.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "Control.h"

namespace korvex::ui {

// Where an error that escapes a message handler goes (the application's general error box).
void SetErrorReporter(std::function<void(const std::wstring&)> reporter);
void ReportError(const std::wstring& message);

class Window : public Control {
public:
    ~Window() override;

protected:
    struct ClassInfo {
        const wchar_t* name;
        UINT style = CS_HREDRAW | CS_VREDRAW;
        HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        HICON icon = nullptr;
        HICON smallIcon = nullptr;
        const wchar_t* cursor = IDC_ARROW;  // none: the window sets its own at WM_SETCURSOR
    };
    // Registers the class the first time and creates the window; throws platform::Win32Error when
    // either fails.
    void CreateWin(const ClassInfo& cls, const wchar_t* text, DWORD style, DWORD exStyle, HWND parent, RECT bounds,
                   int id = 0);

    // Handles painting (through OnPaint) and keeps the font that WM_SETFONT gives.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual void OnPaint(HDC) {}
    HGDIOBJ Font() const { return font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT); }
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProcW(hwnd_, msg, wParam, lParam); }

private:
    HFONT font_ = nullptr;
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

// A window that docks its child controls and, unless it is a top-level window, passes the
// notifications of its children on to its own parent, so the form handles them all in one place.
class Container : public Window {
public:
    void AddChild(Control& child) { children_.push_back(&child); }
    void Realign();
    // Lays the children out unless a layout has been made already (a window given its size after
    // its children were made is laid out by that resize, and only once).
    void EnsureLaidOut() {
        if (!laidOut_) Realign();
    }
    void ScaleForDpi(int oldDpi, int newDpi) override;
    // Scales the docked children (and theirs), not this window.
    void ScaleChildrenForDpi(int oldDpi, int newDpi);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The part of the client area the children share.
    virtual RECT DockArea() const;
    void OnResized() override { Realign(); }

private:
    std::vector<Control*> children_;
    bool laidOut_ = false;
};

}  // namespace korvex::ui
