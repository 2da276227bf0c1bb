#pragma once
// The standard combo box with editable text and a drop-down list, dockable like a panel.

#include <string>

#include "Control.h"

namespace korvex::components {

class TAlignComboBox : public ui::Control {
public:
    void Create(HWND parent, int id, SIZE size, ui::Align align, const wchar_t* text = L"");

    // Removes the list's items; the edit text stays.
    void ClearItems();
    void AddItem(const std::wstring& text);
    int ItemCount() const;
    std::wstring Item(int index) const;

    // The docked height is the edit field's; the drop-down list gets room of its own below it.
    void Place(HDWP& batch, const RECT& rect) override;
};

}  // namespace korvex::components
