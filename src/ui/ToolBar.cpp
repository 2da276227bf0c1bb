#include "ToolBar.h"

#include <algorithm>

namespace korvex::ui {

void ToolBar::Create(HWND parent, int id, DWORD style, SIZE size) {
    Attach(CreateChildControl(TOOLBARCLASSNAMEW, L"", style, 0, parent, id, size));
    SendMessageW(hwnd_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // A drop-down button draws its arrow part beside the picture.
    SendMessageW(hwnd_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
}

void ToolBar::SetImageList(HIMAGELIST images, SIZE bitmap) {
    SendMessageW(hwnd_, TB_SETBITMAPSIZE, 0, MAKELPARAM(bitmap.cx, bitmap.cy));
    SendMessageW(hwnd_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
}

void ToolBar::SetButtonSize(SIZE button) {
    SendMessageW(hwnd_, TB_SETBUTTONSIZE, 0, MAKELPARAM(button.cx, button.cy));
    SendMessageW(hwnd_, TB_AUTOSIZE, 0, 0);
}

void ToolBar::AddButton(int command, int image, BYTE style) {
    TBBUTTON button{};
    button.iBitmap = image;
    button.idCommand = command;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = style;
    button.iString = -1;
    SendMessageW(hwnd_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
}

void ToolBar::AddSeparator(int command, int width) {
    TBBUTTON button{};
    button.iBitmap = width;  // a separator's width
    button.idCommand = command;
    button.fsStyle = BTNS_SEP;
    SendMessageW(hwnd_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
}

RECT ToolBar::ButtonRect(int command) const {
    RECT r{};
    SendMessageW(hwnd_, TB_GETRECT, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(&r));
    return r;
}

SIZE ToolBar::ContentSize() const {
    SIZE size{};
    const int count = static_cast<int>(SendMessageW(hwnd_, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT r{};
        SendMessageW(hwnd_, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        size.cx = std::max(size.cx, r.right);
        size.cy = std::max(size.cy, r.bottom);
    }
    return size;
}

void ToolBar::SetHandCursor(int command) {
    if (handButtons_.empty()) SetWindowSubclass(hwnd_, &ToolBar::SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
    handButtons_.push_back(command);
}

bool ToolBar::OverHandButton() const {
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(hwnd_, &p);
    const int index = static_cast<int>(SendMessageW(hwnd_, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&p)));
    if (index < 0) return false;
    TBBUTTON button{};
    if (!SendMessageW(hwnd_, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button))) return false;
    return std::find(handButtons_.begin(), handButtons_.end(), button.idCommand) != handButtons_.end();
}

LRESULT CALLBACK ToolBar::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self) {
    switch (msg) {
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<ToolBar*>(self)->OverHandButton()) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        case WM_NCDESTROY: RemoveWindowSubclass(hwnd, &ToolBar::SubclassProc, id); break;
        default: break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace korvex::ui
