#pragma once
// A top-level window that holds one explorer list, filling it.

#include "QFileExplorer.h"
#include "Window.h"

namespace korvex::test {

class ExplorerHost : public ui::Container {
public:
    components::TQFileExplorer explorer;
    int refills = 0;  // change events for all rows, as a refill raises

    void Create(const components::TQFileExplorer::Options& options = {}) {
        CreateWin({.name = L"KorvexExplorerHost"}, L"Explorer host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, nullptr,
                  RECT{0, 0, 900, 500});
        explorer.OnChange = [this](components::TQFileExplorer&, int item, components::TItemChange) {
            if (item < 0) ++refills;
        };
        explorer.Create(hwnd_, 1, SIZE{900, 500}, options);
        explorer.SetAlign(ui::Align::Client);
        AddChild(explorer);
        Realign();
        ShowWindow(hwnd_, SW_SHOWNORMAL);
    }
    std::wstring ColumnCaption(int index) const {
        wchar_t text[64] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = 64;
        ListView_GetColumn(explorer.Handle(), index, &column);
        return text;
    }
    std::vector<std::wstring> Captions() const {
        std::vector<std::wstring> names;
        for (const auto& e : explorer.Entries()) names.push_back(e.caption);
        return names;
    }
};

}  // namespace korvex::test
