#pragma once
// The standard single-line edit box, dockable like a panel.

#include "Control.h"

namespace korvex::components {

class TAlignEdit : public ui::Control {
public:
    void Create(HWND parent, int id, SIZE size, ui::Align align, const wchar_t* text = L"");
};

}  // namespace korvex::components
