#pragma once
// A thin wrapper of the comctl32 list view in report style.

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <string>
#include <vector>

#include "Control.h"

namespace korvex::ui {

class ListView : public Control {
public:
    void Create(HWND parent, int id, DWORD style, DWORD extendedStyle, SIZE size);

    void AddColumn(const wchar_t* caption, int width, int format = LVCFMT_LEFT);
    // Columns share the client width equally whenever the list is resized, or its client width
    // changes as a vertical scroll bar comes or goes.
    void ShareWidthAmongColumns(bool share) { shareWidth_ = share; }
    void OnResized() override;

    int Count() const;
    // For a list of LVS_OWNERDATA style: the number of rows the owner answers for.
    void SetVirtualCount(std::size_t count);
    void InsertItem(int index, const std::wstring& text);
    void DeleteAll();
    std::wstring ItemText(int item, int subItem = 0) const;

    std::vector<std::size_t> SelectedIndices() const;
    int FirstSelected() const;
    void SelectAll();
    void ClearSelection();
    void Select(int item);

private:
    bool shareWidth_ = false;
    int sharedWidth_ = -1;  // the client width the columns were last shared out of
};

}  // namespace korvex::ui
