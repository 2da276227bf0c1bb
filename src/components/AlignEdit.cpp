#include "AlignEdit.h"

namespace korvex::components {

void TAlignEdit::Create(HWND parent, int id, SIZE size, ui::Align align, const wchar_t* text) {
    Attach(ui::CreateChildControl(L"EDIT", text, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, parent, id, size));
    SetAlign(align);
}

}  // namespace korvex::components
