#pragma once
// A thin wrapper of the comctl32 toolbar: flat picture buttons that tell their notify window of a
// click with WM_COMMAND, show tooltips through TTN_GETDISPINFOW and can show the hand pointer.

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "Control.h"

namespace korvex::ui {

class ToolBar : public Control {
public:
    // style adds to WS_CHILD | WS_VISIBLE (for instance TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE).
    // The parent is the notify window; it stays so when the toolbar moves into a band.
    void Create(HWND parent, int id, DWORD style, SIZE size);

    // The pictures (not owned: the caller keeps the list alive while the toolbar shows it).
    void SetImageList(HIMAGELIST images, SIZE bitmap);
    void SetButtonSize(SIZE button);
    void AddButton(int command, int image, BYTE style = BTNS_BUTTON);
    void AddSeparator(int command, int width);

    // The button's rectangle in toolbar coordinates (empty for an unknown command).
    RECT ButtonRect(int command) const;
    // Width and height that hold all buttons.
    SIZE ContentSize() const;
    // The hand pointer over this button.
    void SetHandCursor(int command);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    bool OverHandButton() const;
    std::vector<int> handButtons_;
};

}  // namespace korvex::ui
