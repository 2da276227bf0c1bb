#pragma once
// The flat speed button, dockable like a panel.

#include "SpeedButton.h"

namespace korvex::components {

class tAlignSpeedButton : public ui::SpeedButton {
public:
    void Create(HWND parent, int id, SIZE size, ui::Align align, const wchar_t* caption) {
        ui::SpeedButton::Create(parent, id, size, caption);
        SetAlign(align);
    }
};

}  // namespace korvex::components
