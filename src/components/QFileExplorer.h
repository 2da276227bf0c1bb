#pragma once
// TQFileExplorer: a list of the machine's drives or of one folder's entries, with the shell's
// icons and type names, sizes, dates and attribute letters; sorted by any column, and answering
// questions about its selection.
//
// The rows live here, in the order the listing found them, with a separate display order that a
// sort rearranges; the comctl32 list view shows them as a virtual list (LVS_OWNERDATA), so a folder
// of tens of thousands of files fills at once and a sort moves no row.
// Its implementation is split by concern: QFileExplorer.cpp (construction, window, properties,
// notifications), QFileExplorerListing.cpp, QFileExplorerOrder.cpp, QFileExplorerSelection.cpp,
// QFileExplorerNavigation.cpp (mouse and keyboard), QFileExplorerRename.cpp (editing a caption in
// place), QFileExplorerWatch.cpp (listing again as the folder changes on disk),
// QFileExplorerAnswers.cpp (the shell's answers per path, asked by a background thread).
//
// A listing shows every row at once with what is known without a question per path: the answer
// of its type, one for all plain folders. What needs an answer of its own (a file whose icon is
// its own, a folder the shell may have customised, a drive that may be slow) is asked by the
// list's background thread, the rows in view first, and the rows repaint as the answers land. The
// order the user sorted by stays while they land; the next sort or listing uses them.

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "EntryOrder.h"
#include "ExplorerTypes.h"
#include "EnumerateFolder.h"
#include "FolderReadAhead.h"
#include "ListView.h"
#include "Locale.h"
#include "ShellAnswerThread.h"
#include "ShellInfo.h"
#include "UniqueResource.h"

namespace korvex::components {

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum class TItemChange { ctText, ctImage, ctState };
enum class TMouseButton { mbLeft, mbRight, mbMiddle };
// The modifier keys and mouse buttons held with an input.
enum TShiftFlag : std::uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = EnumSet<TShiftFlag>;

// The shell operations the list calls (ItemProp's by default); a test puts recorders in their
// place to see what the list asks of the shell.
struct TShellCalls {
    std::function<bool(const std::wstring& path, HWND owner, POINT at, bool& renameChosen)> PopupItemMenu;
    std::function<bool(const std::wstring& folder, const std::vector<std::wstring>& names, HWND owner,
                       bool& renameChosen, POINT at)>
        PopupItemsMenu;
    std::function<bool(const std::wstring& path, HWND owner)> RunItemDefaultCommand;
    // The questions asked per path on the list's background thread; empty: the shell's own.
    ShellAnswerThread::Ask AskPerPath;
};

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

class TQFileExplorer : public ui::ListView {
public:
    struct Options {
        TViewStyle viewStyle = TViewStyle::vsReport;
        bool multiSelect = false;
        bool hideSelection = true;
        bool gridLines = true;
        bool rowSelect = true;
        bool border = false;
        bool readOnly = false;  // captions cannot be edited (no renaming in place)
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
    // The next listing, if of the folder listed ahead, takes its rows from there instead of
    // reading the folder again; any other listing drops them.
    void UseReadAhead(std::unique_ptr<FolderReadAhead> readAhead) { readAhead_ = std::move(readAhead); }
    // The facts of the user's locale that rows are made and sorted with.
    static OrderFacts Facts();
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
    // withFolders: the folders that pass the filter word with the folder bit added are appended
    // too, before the files, from the same enumeration.
    bool ListFolder(const std::wstring& searchPath, std::uint32_t filter, bool withFolders = false);
    static TDiskInfo GetDiskInfo(std::wstring_view drive);
    static bool IsDriveReady(std::wstring_view drive);
    // Answers of the shell asked in the background that have not landed yet (the questions of a
    // listing whose asking has not started yet included).
    bool ShellAnswersOutstanding() const;
    // How many questions the background thread asked, in all (0 before it first runs).
    std::size_t ShellQuestionsAsked() const;
    // How many explorer background threads serve a list in the process.
    static int ShellThreadsRunning() noexcept { return ShellAnswerThread::Running(); }

    // --- navigation
    // Shows the parent folder; from a drive root the drives ("Drives"); in the drives view nothing.
    // The folder that was left is then the focused and selected entry, scrolled into view.
    void UpOneLevel();
    // Lists the shown folder (or the drives) again as it is now, keeping the selection (by name),
    // the focused entry, the scroll position and the order the user sorted by. reuseShellAnswers:
    // entries that did not change keep the shell's icons and type names of the listing before
    // (for the listings that follow changes on disk, which may come in bursts).
    void ListAgain(bool reuseShellAnswers = false);
    // Starts editing the caption of the entry at a display position (files and folders only).
    void BeginRename(std::size_t index);
    // Renames the entry at a display position on disk to newName (a bare name) and updates its
    // row; throws platform::Win32Error with the system's reason when the file system refuses.
    void RenameEntry(std::size_t index, const std::wstring& newName);

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
    // Both of the above (size first) from one question per drive.
    std::pair<std::int64_t, std::int64_t> GetDriveSpace() const;

    // --- rows and selection, in display order
    TEntryView Entries() const noexcept { return {rows_, order_}; }
    const TExplorerEntry& Entry(std::size_t index) const { return rows_[order_[index]]; }
    // IsSelected, Select and the other selection helpers are the list view's.

    // Raised when the list reports that a row changed (item -1: all rows, as after a refill).
    std::function<void(TQFileExplorer& sender, int item, TItemChange change)> OnChange;
    // At the end of a click's handling, after CurrentItemPath is updated.
    std::function<void(TQFileExplorer& sender)> OnClick;
    // At the start of a double click's handling (and of Enter's on a selection).
    std::function<void(TQFileExplorer& sender)> OnDblClick;
    // At the end of a key's handling, after its own action; the key is then passed on to the list
    // (a handler that sets it to 0 keeps it from the list).
    std::function<void(TQFileExplorer& sender, WORD& key, TShiftState shift)> OnKeyDown;
    // For every mouse button pressed in the list, before what the press does (x, y: client coordinates).
    std::function<void(TQFileExplorer& sender, TMouseButton button, TShiftState shift, int x, int y)> OnMouseDown;

    TShellCalls Shell;

    bool Reflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Its font and column widths follow the new scale too.
    void ScaleForDpi(int oldDpi, int newDpi) override;

private:
    // --- input (QFileExplorerNavigation.cpp): keys, the right button and the folder watch's
    // timer come to this object before the list.
    LRESULT HandleListMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnListDestroyed() override;
    const wchar_t* UnexpectedErrorText() const override { return L"Unexpected error in the explorer list"; }
    void ClickHandling();
    void DoubleClickHandling();
    // The key's own action and OnKeyDown; true when the key moved up a level.
    bool KeyDownHandling(WORD& key, TShiftState shift);
    void MouseDownHandling(TMouseButton button, TShiftState shift, int x, int y);
    void KeyboardContextMenu();
    // The shell menu of the selection at a screen point; the folder is listed again afterwards.
    void ShowSelectionMenu(POINT at);
    // Selects and focuses one entry alone, scrolled into view.
    void FocusOnly(std::size_t index);
    std::wstring leftFolder_;  // the folder the latest UpOneLevel left (its full path)
    void FocusLeftFolder();

    // --- the list follows the disk (QFileExplorerWatch.cpp)
    static constexpr UINT_PTR kWatchTimer = 0x4B58;  // on the list window; apart from the list's own timers
    void WatchFolder();
    void OnWatchTimer();
    // A caption edit or a menu is open: listing again waits until it ends.
    int busy_ = 0;
    bool relistPending_ = false;
    platform::UniqueChangeNotification watch_;
    std::wstring watched_;  // the folder the notification is for

    // Sets the selection to exactly these display positions (ascending), with one change event
    // when announced.
    void SetSelection(const std::vector<std::uint32_t>& positions, bool announce = true);
    int quietChanges_ = 0;  // the list's own change reports are not passed on while set

    // Fills the list again; keepOrder sorts by the user's column, else by name as a new listing.
    // restore runs once the rows are in order, before the list is painted and the hosts hear of it.
    void Refill(bool keepOrder, bool reuseShellAnswers, const std::function<void()>& restore = {});
    bool holdCount_ = false;                      // a refill is under way: the list learns the row count at its end
    std::unique_ptr<FolderReadAhead> readAhead_;  // for the next listing, if of its folder
    // Gives a row made by MakeRowTexts its type's or its own answer from the shell; question: what
    // is still to be asked about its path in the background (its row still to be set), if anything.
    void AddShellAnswer(TExplorerEntry& entry, DWORD attributes, const FILETIME& lastWrite,
                        std::optional<ShellRequest>* question);
    // The row of a directory entry found in the shown folder. question: what is still to be asked
    // about its path in the background (its row still to be set), if anything.
    TExplorerEntry MakeFolderEntry(const std::wstring& folder, const platform::FolderEntryView& found,
                                   const OrderFacts& facts, const platform::LocalTimeConverter& localTime = {},
                                   std::optional<ShellRequest>* question = nullptr);

    // --- the shell's answers per path (QFileExplorerAnswers.cpp)
    // Asks the questions of the listing just made (wanted_), the rows in view first; drops what
    // an earlier listing left outstanding.
    void AskWanted();
    // AskWanted once the list is painted: from a message posted to the list, so that the
    // thread's questions, which contend for the system's services, do not slow the first paint.
    void AskWantedAfterPaint();
    static UINT AskShellMessage();
    bool askPosted_ = false;
    // Adds questions to what is being asked.
    void AskMore(std::vector<ShellRequest> requests);
    // The background thread, made on the first question.
    ShellAnswerThread& Answers();
    void TakeShellAnswers();
    void ApplyDriveAnswer(TExplorerEntry& entry, const ShellAnswer& answer);
    // The display positions in view, first and last (-1, -1 when none).
    std::pair<int, int> PositionsInView() const;
    void PreferPositions(int from, int to);
    static UINT ShellAnswersMessage();
    std::vector<ShellRequest> wanted_;  // questions of the listing under way
    std::unique_ptr<ShellAnswerThread> answers_;
    // The sizes of the slow drives (removable, network, optical) as their answers told them.
    std::array<std::optional<TDiskInfo>, 26> slowDrives_;
    // Which view the Size..Modified columns are set for (drives or a folder); none before the
    // first listing.
    std::optional<bool> drivesColumns_;

    // Adds a row at the end of the display order.
    void AppendRow(TExplorerEntry&& entry);
    void SyncItemCount();
    void MakeFont();
    void CreateColumns();
    void SetColumn(int index, const wchar_t* caption, int width, int format);
    void SetViewColumns(bool drives);
    void ShowSortArrow();
    void ApplyOrder(int column, bool reversed);
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
