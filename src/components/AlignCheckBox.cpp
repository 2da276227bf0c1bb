#include "AlignCheckBox.h"

namespace korvex::components {

void TAlignCheckBox::Create(HWND parent, int id, SIZE size, ui::Align align, const wchar_t* caption) {
    Attach(ui::CreateChildControl(L"BUTTON", caption, WS_TABSTOP | BS_AUTOCHECKBOX, 0, parent, id, size));
    SetAlign(align);
}

bool TAlignCheckBox::Checked() const {
    return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TAlignCheckBox::SetChecked(bool checked) const {
    SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace korvex::components
