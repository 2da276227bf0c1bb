#include "AlignComboBox.h"

namespace korvex::components {

void TAlignComboBox::Create(HWND parent, int id, SIZE size, ui::Align align, const wchar_t* text) {
    Attach(ui::CreateChildControl(L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, parent,
                                  id, size));
    SetText(text);
    SetAlign(align);
}

void TAlignComboBox::ClearItems() {
    const std::wstring text = Text();
    SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0);
    SetText(text);
}

void TAlignComboBox::AddItem(const std::wstring& text) {
    SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int TAlignComboBox::ItemCount() const {
    return static_cast<int>(SendMessageW(hwnd_, CB_GETCOUNT, 0, 0));
}

std::wstring TAlignComboBox::Item(int index) const {
    const auto length = SendMessageW(hwnd_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(hwnd_, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void TAlignComboBox::Place(HDWP& batch, const RECT& rect) {
    RECT r = rect;
    r.bottom = r.top + static_cast<LONG>(SendMessageW(hwnd_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0)) + 6 + 200;
    Control::Place(batch, r);
}

}  // namespace korvex::components
