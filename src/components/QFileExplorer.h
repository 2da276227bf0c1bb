#pragma once
// TQFileExplorer: a list of the machine's drives or of one folder's entries, with the shell's
// icons and type names, sizes, dates and attribute letters; sorted by any column, and answering
// questions about its selection.
//
// The rows live here, in the order the listing found them, with a separate display order that a
// sort rearranges; the comctl32 list view shows them as a virtual list (LVS_OWNERDATA), so a folder
// of tens of thousands of files fills at once and a sort moves no row.
// Its implementation is split by concern: QFileExplorer.cpp (construction, window, properties,
// notifications), QFileExplorerListing.cpp, QFileExplorerOrder.cpp, QFileExplorerSelection.cpp.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "Control.h"
#include "EntryOrder.h"
#include "ExplorerTypes.h"
#include "ShellInfo.h"
#include "UniqueResource.h"

namespace korvex::components {

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum class TItemChange { ctText, ctImage, ctState };

// The rows in display order.
class TEntryView {
public:
    TEntryView(const std::vector<TExplorerEntry>& rows, const std::vector<std::uint32_t>& order)
        : rows_(&rows), order_(&order) {}
    std::size_t size() const { return order_->size(); }
    bool empty() const { return order_->empty(); }
    const TExplorerEntry& operator[](std::size_t i) const { return (*rows_)[(*order_)[i]]; }
    const TExplorerEntry& front() const { return (*this)[0]; }

    class iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = TExplorerEntry;
        using difference_type = std::ptrdiff_t;
        using pointer = const TExplorerEntry*;
        using reference = const TExplorerEntry&;
        iterator(const TEntryView* view, std::size_t i) : view_(view), i_(i) {}
        reference operator*() const { return (*view_)[i_]; }
        pointer operator->() const { return &(*view_)[i_]; }
        iterator& operator++() { return ++i_, *this; }
        iterator operator++(int) { return {view_, i_++}; }
        bool operator==(const iterator& o) const { return i_ == o.i_; }

    private:
        const TEntryView* view_;
        std::size_t i_;
    };
    iterator begin() const { return {this, 0}; }
    iterator end() const { return {this, size()}; }

private:
    const std::vector<TExplorerEntry>* rows_;
    const std::vector<std::uint32_t>* order_;
};

class TQFileExplorer : public ui::Control {
public:
    struct Options {
        TViewStyle viewStyle = TViewStyle::vsReport;
        bool multiSelect = false;
        bool hideSelection = true;
        bool gridLines = true;
        bool rowSelect = true;
        bool border = false;
    };

    TQFileExplorer();
    ~TQFileExplorer() override;

    // Creates the list's window: its font, the five columns and a first fill.
    void Create(HWND parent, int id, SIZE size, const Options& options);

    // --- properties
    const std::wstring& Directory() const noexcept { return directory_; }
    // Shows a folder (stored with a trailing backslash) or, for "DRIVES" in any letter case, the
    // drives. A value equal to the stored one ignoring case, or a folder that does not exist,
    // changes nothing.
    void SetDirectory(const std::wstring& value);
    const std::wstring& Mask() const noexcept { return mask_; }
    void SetMask(const std::wstring& value);
    TFileType FileType() const noexcept { return fileType_; }
    void SetFileType(TFileType value);
    bool ContextMenu() const noexcept { return contextMenu_; }
    void SetContextMenu(bool value) noexcept { contextMenu_ = value; }
    bool ContextAction() const noexcept { return contextAction_; }
    void SetContextAction(bool value) noexcept { contextAction_ = value; }
    const std::wstring& About() const noexcept { return about_; }
    void SetAbout(const std::wstring&) noexcept {}  // read-only: a written value is ignored
    const std::wstring& CurrentItemPath() const noexcept { return currentItemPath_; }
    void SetCurrentItemPath(const std::wstring& value);
    int SortColumn() const noexcept { return sortColumn_; }
    bool SortReversed() const noexcept { return sortReversed_; }
    const std::vector<std::wstring>& SelectionList() const noexcept { return selectionList_; }
    TViewStyle ViewStyle() const noexcept { return viewStyle_; }
    void SetViewStyle(TViewStyle style);
    bool IsDrivesView() const;

    // --- listing
    void RefreshList();
    void ListDrives();
    // Appends the entries that match searchPath and pass the filter word; true when any was.
    bool ListFolder(const std::wstring& searchPath, std::uint32_t filter);
    static TDiskInfo GetDiskInfo(std::wstring_view drive);
    static bool IsDriveReady(std::wstring_view drive);

    // --- navigation
    // Shows the parent folder; from a drive root the drives ("Drives"); in the drives view nothing.
    void UpOneLevel();

    // --- order
    int CompareEntries(const TExplorerEntry& item1, const TExplorerEntry& item2) const;
    void SortColumnClick(int column);
    void SortAfterListing();

    // --- selection queries
    int SelectedCount() const;
    std::int64_t SelectedSize() const;
    std::wstring SelectedFilenames();
    TObjectTypes SelectedTypes() const;
    std::vector<std::wstring> GetNameList(bool fullPath, bool selectedOnly) const;
    std::int64_t GetDriveSize() const;
    std::int64_t GetDriveFreeSpace() const;

    // --- rows and selection, in display order
    TEntryView Entries() const noexcept { return {rows_, order_}; }
    const TExplorerEntry& Entry(std::size_t index) const { return rows_[order_[index]]; }
    bool IsSelected(std::size_t index) const;
    void Select(std::size_t index, bool selected = true);

    // Raised when the list reports that a row changed (item -1: all rows, as after a refill).
    std::function<void(TQFileExplorer& sender, int item, TItemChange change)> OnChange;

    bool Reflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Its font and column widths follow the new scale too.
    void ScaleForDpi(int oldDpi, int newDpi) override;

private:
    // Adds a row at the end of the display order.
    void AppendRow(TExplorerEntry&& entry);
    void SyncItemCount();
    void MakeFont();
    void CreateColumns();
    void SetColumn(int index, const wchar_t* caption, int width, int format);
    void SetViewColumns(bool drives);
    void ShowSortArrow();
    void ApplyOrder(int column, bool reversed);
    OrderFacts Facts() const;
    void RaiseChange(int item, TItemChange change);
    int Scale(int pixels) const;

    std::wstring directory_;
    std::wstring mask_ = L"*.*";
    TFileType fileType_;
    bool contextMenu_ = false;
    bool contextAction_ = false;
    std::wstring about_;
    std::wstring currentItemPath_;
    int sortColumn_ = 0;
    bool sortReversed_ = true;
    bool sorted_ = false;  // the rows are in the order of the last sort (not so after a drives listing)
    std::vector<std::wstring> selectionList_;
    TViewStyle viewStyle_ = TViewStyle::vsReport;

    std::vector<TExplorerEntry> rows_;  // as listed
    std::vector<std::uint32_t> order_;  // display position -> row
    platform::ShellInfoCache shellCache_;
    platform::UniqueGdiObject font_;
    int dpi_ = 96;
};

}  // namespace korvex::components
