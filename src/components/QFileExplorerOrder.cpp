// TQFileExplorer: the order of the rows.

#include "ExplorerText.h"
#include "QFileExplorer.h"

namespace korvex::components {

int TQFileExplorer::CompareEntries(const TExplorerEntry& item1, const TExplorerEntry& item2) const {
    return korvex::CompareEntries(item1, item2, sortColumn_, sortReversed_, Facts());
}

void TQFileExplorer::SortColumnClick(int column) {
    if (column == sortColumn_) {
        sortReversed_ = !sortReversed_;
    } else {
        sortColumn_ = column;
        sortReversed_ = true;
    }
    ApplyOrder(sortColumn_, sortReversed_);
}

void TQFileExplorer::SortAfterListing() {
    sortReversed_ = true;
    if (IsDrivesView()) {
        // The drives stay in letter order: no column is shown as sorted.
        sorted_ = false;
        if (hwnd_) ShowSortArrow();
        return;
    }
    sortColumn_ = 0;
    sortReversed_ = false;
    ApplyOrder(sortColumn_, sortReversed_);
}

void TQFileExplorer::ApplyOrder(int column, bool reversed) {
    // Selected and focused rows stay so at their new places.
    std::vector<std::size_t> selected;
    int focused = -1;
    if (hwnd_) {
        for (int i = ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED); i >= 0;
             i = ListView_GetNextItem(hwnd_, i, LVNI_SELECTED))
            selected.push_back(static_cast<std::size_t>(i));
        focused = ListView_GetNextItem(hwnd_, -1, LVNI_FOCUSED);
    }
    // Remember them by row, which the sort does not move.
    for (auto& s : selected) s = order_[s];
    const std::uint32_t focusedRow = focused >= 0 ? order_[static_cast<std::size_t>(focused)] : 0;
    SortView(rows_, order_, column, reversed, Facts());
    sorted_ = true;
    if (!hwnd_) return;
    if (!selected.empty() || focused >= 0) {
        std::vector<std::uint32_t> positionOf(rows_.size());
        for (std::uint32_t i = 0; i < order_.size(); ++i) positionOf[order_[i]] = i;
        if (!selected.empty()) {
            ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED);
            for (auto row : selected) Select(positionOf[row]);
        }
        if (focused >= 0)
            ListView_SetItemState(hwnd_, static_cast<int>(positionOf[focusedRow]), LVIS_FOCUSED, LVIS_FOCUSED);
    }
    ShowSortArrow();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TQFileExplorer::ShowSortArrow() {
    const HWND header = ListView_GetHeader(hwnd_);
    if (!header) return;
    for (int i = 0, n = Header_GetItemCount(header); i < n; ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(header, i, &item);
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (sorted_ && i == sortColumn_) item.fmt |= sortReversed_ ? HDF_SORTDOWN : HDF_SORTUP;
        Header_SetItem(header, i, &item);
    }
}

}  // namespace korvex::components
