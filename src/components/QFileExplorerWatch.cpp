// TQFileExplorer: the list follows the disk. A change notification on the shown folder is looked
// at from the list's timer on the window's own thread; a burst of changes between two looks is
// one listing again, which keeps what the user sees (selection, focus, scroll, order).

#include <algorithm>
#include <unordered_set>

#include "ExplorerText.h"
#include "FileSystem.h"
#include "Locale.h"
#include "PathText.h"
#include "QFileExplorer.h"

namespace korvex::components {

namespace {

constexpr UINT kWatchPeriodMs = 300;
constexpr DWORD kWatchedChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE |
                                  FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_ATTRIBUTES;

bool Exists(const std::wstring& folder) {
    const DWORD attributes = platform::FileAttributes(folder);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void TQFileExplorer::WatchFolder() {
    if (!hwnd_) return;
    if (IsDrivesView() || directory_.empty()) {
        // The drives view needs no watch.
        watch_.reset();
        watched_.clear();
        KillTimer(hwnd_, kWatchTimer);
        return;
    }
    if (!watch_ || !platform::SameNameIgnoringCase(watched_, directory_)) {
        watch_.reset(FindFirstChangeNotificationW(platform::ToApiPath(directory_).c_str(), FALSE, kWatchedChanges));
        watched_ = directory_;
    }
    // The timer also serves a listing that had to wait (while a caption was edited).
    SetTimer(hwnd_, kWatchTimer, kWatchPeriodMs, nullptr);
}

void TQFileExplorer::OnWatchTimer() {
    if (busy_) return;  // the notification stays signalled until the edit or the menu ends
    bool changed = relistPending_;
    if (watch_ && WaitForSingleObject(watch_.get(), 0) == WAIT_OBJECT_0) {
        changed = true;
        // Armed again before the listing, so that a change during it is seen next time.
        if (!FindNextChangeNotification(watch_.get())) watch_.reset();
    }
    // The shown folder's own removal or renaming (or its parent's) is no change inside it: look for it.
    const bool gone = !IsDrivesView() && !directory_.empty() && !Exists(directory_);
    if (!changed && !gone) return;
    relistPending_ = false;
    if (gone) {
        // The shown folder is gone: show the nearest folder above it that is still there.
        std::wstring folder = directory_;
        do {
            folder = ParentOrDrives(folder).value_or(kDrivesFolder);
        } while (!IsDrivesWord(folder) && !Exists(folder));
        // Its watch goes first, so that nothing keeps the removed folder.
        watch_.reset();
        watched_.clear();
        SetDirectory(folder);
        return;
    }
    ListAgain(true);
}

void TQFileExplorer::ListAgain(bool reuseShellAnswers) {
    if (!hwnd_) return;
    if (busy_) {
        relistPending_ = true;
        return;
    }
    relistPending_ = false;
    // What the user sees, by name: the rows are made anew.
    std::unordered_set<std::wstring> selected;
    ForEachSelected([&](std::size_t i) { selected.insert(platform::FoldCase(Entry(i).FullPath())); });
    auto pathAt = [this](int i) {
        return i >= 0 && static_cast<std::size_t>(i) < order_.size()
                   ? platform::FoldCase(Entry(static_cast<std::size_t>(i)).FullPath())
                   : std::wstring();
    };
    const std::wstring focused = pathAt(FocusedIndex());
    const std::wstring mark = pathAt(ListView_GetSelectionMark(hwnd_));
    const bool report = viewStyle_ == TViewStyle::vsReport;
    const int topIndex = report ? ListView_GetTopIndex(hwnd_) : 0;
    const std::wstring top = report ? pathAt(topIndex) : std::wstring();

    Refill(true, reuseShellAnswers, [&] {
        std::vector<std::uint32_t> positions;
        int newFocused = -1, newMark = -1, newTop = -1;
        if (!selected.empty() || !focused.empty() || !mark.empty() || !top.empty()) {
            for (std::uint32_t i = 0; i < order_.size(); ++i) {
                const std::wstring path = platform::FoldCase(Entry(i).FullPath());
                if (selected.count(path)) positions.push_back(i);
                if (newFocused < 0 && path == focused) newFocused = static_cast<int>(i);
                if (newMark < 0 && path == mark) newMark = static_cast<int>(i);
                if (newTop < 0 && path == top) newTop = static_cast<int>(i);
            }
        }
        // The refill's own change event tells the hosts of the selection too.
        if (!positions.empty()) SetSelection(positions, false);
        ++quietChanges_;
        if (newFocused >= 0) ListView_SetItemState(hwnd_, newFocused, LVIS_FOCUSED, LVIS_FOCUSED);
        --quietChanges_;
        if (newMark >= 0) ListView_SetSelectionMark(hwnd_, newMark);
        if (report && !order_.empty()) {
            // The same row at the top, or, when it is gone, the same place.
            if (newTop < 0) newTop = std::min(topIndex, static_cast<int>(order_.size()) - 1);
            const int nowTop = ListView_GetTopIndex(hwnd_);
            RECT row{};
            if (newTop != nowTop && ListView_GetItemRect(hwnd_, 0, &row, LVIR_BOUNDS))
                ListView_Scroll(hwnd_, 0, (newTop - nowTop) * (row.bottom - row.top));
        }
    });
}

}  // namespace korvex::components
