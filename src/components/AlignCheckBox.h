#pragma once
// The standard check box, dockable like a panel.

#include "Control.h"

namespace korvex::components {

class TAlignCheckBox : public ui::Control {
public:
    void Create(HWND parent, int id, SIZE size, ui::Align align, const wchar_t* caption);
    bool Checked() const;
    void SetChecked(bool checked) const;
};

}  // namespace korvex::components
