// TQFileExplorer: the order of the rows.

#include <algorithm>

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
    std::vector<std::uint32_t> selected;
    int focused = -1;
    if (hwnd_) {
        // By row, which the sort does not move.
        ForEachSelected([&](std::size_t i) { selected.push_back(order_[i]); });
        focused = FocusedIndex();
    }
    const std::uint32_t focusedRow = focused >= 0 ? order_[static_cast<std::size_t>(focused)] : 0;
    SortView(rows_, order_, column, reversed, Facts());
    sorted_ = true;
    if (!hwnd_) return;
    if (!selected.empty() || focused >= 0) {
        std::vector<std::uint32_t> positionOf(rows_.size());
        for (std::uint32_t i = 0; i < order_.size(); ++i) positionOf[order_[i]] = i;
        if (focused >= 0) {
            ++quietChanges_;
            ListView_SetItemState(hwnd_, static_cast<int>(positionOf[focusedRow]), LVIS_FOCUSED, LVIS_FOCUSED);
            --quietChanges_;
        }
        if (!selected.empty()) {
            for (auto& row : selected) row = positionOf[row];
            std::sort(selected.begin(), selected.end());
            SetSelection(selected);
        }
    }
    ShowSortArrow();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TQFileExplorer::SetSelection(const std::vector<std::uint32_t>& positions, bool announce) {
    if (!hwnd_) return;
    const std::size_t count = order_.size();
    {
        // The list reports each row it changes: the hosts hear of it once, below.
        ++quietChanges_;
        const platform::ScopeExit loud([this] { --quietChanges_; });
        // From whichever of "none" and "all" is nearer, so that the fewest rows are touched one by one.
        if (positions.size() * 2 > count) {
            SelectAll();
            std::size_t next = 0;
            for (std::size_t i = 0; i < count; ++i) {
                if (next < positions.size() && positions[next] == i) {
                    ++next;
                    continue;
                }
                Select(i, false);
            }
        } else {
            ClearSelection();
            for (auto i : positions)
                if (i < count) Select(i);
        }
    }
    if (announce) RaiseChange(-1, TItemChange::ctState);
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
