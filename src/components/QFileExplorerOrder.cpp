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
    const auto order = SortOrder(entries_, column, reversed, Facts());
    // Selected and focused rows stay so at their new places.
    const int focused = hwnd_ ? ListView_GetNextItem(hwnd_, -1, LVNI_FOCUSED) : -1;
    std::vector<TExplorerEntry> sorted;
    sorted.reserve(entries_.size());
    std::vector<std::size_t> selectedAt;
    int newFocus = -1;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (hwnd_ && IsSelected(order[i])) selectedAt.push_back(i);
        if (static_cast<int>(order[i]) == focused) newFocus = static_cast<int>(i);
        sorted.push_back(std::move(entries_[order[i]]));
    }
    entries_ = std::move(sorted);
    sorted_ = true;
    if (!hwnd_) return;
    if (!selectedAt.empty()) {
        ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED);
        for (auto i : selectedAt) Select(i);
    }
    if (newFocus >= 0) ListView_SetItemState(hwnd_, newFocus, LVIS_FOCUSED, LVIS_FOCUSED);
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
