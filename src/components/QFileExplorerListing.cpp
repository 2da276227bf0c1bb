// TQFileExplorer: filling the list with the drives or with one folder's entries.

#include <utility>

#include "BusyCursor.h"
#include "Drives.h"
#include "ExplorerText.h"
#include "FileSystem.h"
#include "Locale.h"
#include "PathText.h"
#include "QFileExplorer.h"

namespace korvex::components {

namespace {

std::wstring Root(std::wstring_view drive) {
    return std::wstring(drive.substr(0, 2)) + L"\\";
}

}  // namespace

void TQFileExplorer::RefreshList() {
    Refill(false, false);
}

void TQFileExplorer::Refill(bool keepOrder, bool reuseShellAnswers, const std::function<void()>& restore) {
    if (!hwnd_) return;  // the window's creation fills the list
    {
        // No redraw switch around the refill: the list learns its new row count once, at the end,
        // and nothing is painted before the window's thread takes its messages again, so rows are
        // drawn once either way. Switching redraw off and on again cost a shown list 3 to 10 ms
        // under Wine, as much as listing a few thousand rows.
        const platform::ScopeExit repaint([this] { InvalidateRect(hwnd_, nullptr, TRUE); });
        const ui::BusyCursor busy;
        const int sortColumn = sortColumn_;
        const bool sortReversed = sortReversed_;
        const bool sorted = sorted_;
        {
            // The old rows' selection means nothing for the new ones.
            ++quietChanges_;
            ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
            --quietChanges_;
        }
        // What the shown rows still waited for is of no use to the new ones.
        if (answers_) answers_->Cancel();
        wanted_.clear();
        rows_.clear();
        order_.clear();
        // A new listing starts at the top; a listing again keeps the list where it is scrolled.
        if (!keepOrder) ListView_SetItemCountEx(hwnd_, 0, 0);
        shellCache_.BeginListing(reuseShellAnswers);
        {
            // Whatever the listing meets, what it found is sorted and shown. The list learns the
            // new row count once, at the end, so that a listing again does not move its scroll
            // position through the counts of the passes.
            holdCount_ = true;
            const platform::ScopeExit finish([this, keepOrder, sortColumn, sortReversed, sorted] {
                holdCount_ = false;
                if (keepOrder && sorted && !IsDrivesView())
                    ApplyOrder(sortColumn, sortReversed);
                else
                    SortAfterListing();
                SyncItemCount();
            });
            if (IsDrivesView()) {
                SetViewColumns(true);
                ListDrives();
            } else {
                SetViewColumns(false);
                // A new list has no folder yet: nothing to show.
                if (!directory_.empty()) {
                    const std::uint32_t filter = FilterWord(fileType_);
                    const std::wstring folder = EnsureBackslash(directory_);
                    if (MaskMatchesAll(mask_)) {
                        // Folders and files come from one enumeration, in the order two would give.
                        ListFolder(folder + L"*.*", filter, true);
                    } else {
                        ListFolder(folder + L"*.*", filter | kAttrDirectory);
                        for (const auto& pattern : SplitMask(mask_))
                            if (!pattern.empty()) ListFolder(folder + pattern, filter);
                    }
                }
            }
        }
        // Rows listed ahead are for the listing that follows them at once, never for a later one.
        readAhead_.reset();
        // What the user saw is put back before anything is painted or any host hears of it.
        if (restore) restore();
    }
    WatchFolder();
    UpdateWindow(hwnd_);
    // A virtual list reports no per-row insertions: tell the hosts once that every row changed.
    RaiseChange(-1, TItemChange::ctText);
    // After what the hosts post on hearing of the rows (the status line), not before it.
    AskWantedAfterPaint();
}

TExplorerEntry TQFileExplorer::MakeFolderEntry(const std::wstring& folder, const platform::FolderEntryView& found,
                                               const OrderFacts& facts, const platform::LocalTimeConverter& localTime,
                                               std::optional<ShellRequest>* question) {
    TExplorerEntry entry = MakeRowTexts(folder, found, facts, localTime);
    AddShellAnswer(entry, found.attributes, found.lastWrite, question);
    return entry;
}

void TQFileExplorer::AddShellAnswer(TExplorerEntry& entry, DWORD attributes, const FILETIME& lastWrite,
                                    std::optional<ShellRequest>* question) {
    const auto answer = shellCache_.ForEntry(entry.FullPath(), entry.caption, attributes, lastWrite);
    if (question && (answer.askPerPath || answer.confirmType))
        *question = ShellRequest{0, entry.FullPath(), attributes, lastWrite,
                                 answer.askPerPath ? ShellQuestion::own : ShellQuestion::type};
    entry.imageIndex = answer.info.iconIndex;
    entry.subItems[1] = answer.info.typeName;
}

bool TQFileExplorer::ListFolder(const std::wstring& searchPath, std::uint32_t filter, bool withFolders) {
    const std::wstring folder = EnsureBackslash(directory_);
    platform::FollowWithCurrentDirectory(folder);
    const OrderFacts facts = Facts();
    const platform::LocalTimeConverter localTime;
    // With the folders, each row is stored as it is found, and the files' places in the display
    // order are held back until every folder is in: the rows are made and moved once.
    std::vector<std::uint32_t> fileRows;
    bool appended = false;
    // Where the row goes in the display order, once it is stored.
    auto place = [&](std::optional<ShellRequest>& question, bool isFile) {
        const auto row = static_cast<std::uint32_t>(rows_.size() - 1);
        if (question) {
            question->row = row;
            wanted_.push_back(std::move(*question));
        }
        if (withFolders && isFile)
            fileRows.push_back(row);
        else
            order_.push_back(row);
        appended = true;
    };
    auto passes = [&](DWORD attributes) {
        const std::uint32_t folderBit = withFolders ? attributes & kAttrDirectory : 0;
        return PassesFilter(attributes, filter | folderBit);
    };
    // The rows listed ahead for this very search are taken as they are; else the disk is read.
    std::optional<std::vector<ReadAheadRow>> ahead;
    if (readAhead_ && readAhead_->Folder() + L"*.*" == searchPath) ahead = std::exchange(readAhead_, nullptr)->Take();
    if (ahead) {
        rows_.reserve(rows_.size() + ahead->size());
        for (ReadAheadRow& made : *ahead) {
            if (!passes(made.attributes)) continue;
            std::optional<ShellRequest> question;
            AddShellAnswer(made.entry, made.attributes, made.lastWrite, &question);
            rows_.push_back(std::move(made.entry));
            place(question, !(made.attributes & FILE_ATTRIBUTE_DIRECTORY));
        }
    } else {
        platform::EnumerateFolder(searchPath, [&](const platform::FolderEntryView& found) {
            if (!passes(found.attributes) || found.name == L"." || found.name == L"..") return;
            std::optional<ShellRequest> question;
            rows_.push_back(MakeFolderEntry(folder, found, facts, localTime, &question));
            place(question, !(found.attributes & FILE_ATTRIBUTE_DIRECTORY));
        });
    }
    order_.insert(order_.end(), fileRows.begin(), fileRows.end());
    if (appended) SyncItemCount();
    return appended;
}

void TQFileExplorer::ListDrives() {
    const std::uint32_t mask = platform::LogicalDrives();
    const OrderFacts facts = Facts();
    const std::wstring& separator = facts.thousandsSeparator;
    slowDrives_.fill(std::nullopt);
    for (int n = 0; n < 26; ++n) {
        if (!(mask & (1u << n))) continue;
        const std::wstring drive{static_cast<wchar_t>(L'A' + n), L':'};
        const std::wstring root = drive + L"\\";
        try {
            const platform::QuietDriveErrors quiet;
            TExplorerEntry entry;
            const std::uint8_t type = platform::DriveType(root);
            if (platform::IsSlowDriveType(type)) {
                // A network drive may answer slowly or not at all, a card reader or an optical
                // drive may spin up: the row shows its letter and type now, its name, icon and
                // sizes once the background thread has them.
                entry.caption = root;
                entry.imageIndex = platform::QueryShellInfoByType(root, FILE_ATTRIBUTE_DIRECTORY).iconIndex;
                entry.subItems = {DriveTypeName(type), L"", L"", L"", root, kKindDrive};
                wanted_.push_back(
                    ShellRequest{static_cast<std::uint32_t>(rows_.size()), root, 0, {}, ShellQuestion::drive});
            } else {
                const auto info = platform::QueryShellInfo(root, 0, true);
                const TDiskInfo disk = GetDiskInfo(drive);
                entry.caption = info.displayName.empty() ? root : info.displayName;
                entry.imageIndex = info.iconIndex;
                entry.subItems = {DriveTypeName(disk.DriveType),
                                  GroupDigits(static_cast<std::uint64_t>(disk.TotalSize), separator),
                                  GroupDigits(static_cast<std::uint64_t>(disk.FreeSize), separator),
                                  L"",
                                  root,
                                  kKindDrive};
            }
            PrepareSortKeys(entry, facts);
            AppendRow(std::move(entry));
        } catch (const std::exception&) {
            // A drive whose row cannot be made is left out; the others are listed.
        }
    }
    SyncItemCount();
}

void TQFileExplorer::AppendRow(TExplorerEntry&& entry) {
    order_.push_back(static_cast<std::uint32_t>(rows_.size()));
    rows_.push_back(std::move(entry));
}

void TQFileExplorer::SyncItemCount() {
    if (hwnd_ && !holdCount_) ListView_SetItemCountEx(hwnd_, static_cast<int>(order_.size()), LVSICF_NOSCROLL);
}

TDiskInfo TQFileExplorer::GetDiskInfo(std::wstring_view drive) {
    TDiskInfo info;
    info.Drive = std::wstring(drive.substr(0, 2));
    const std::wstring root = Root(drive);
    info.DriveType = platform::DriveType(root);
    // One cluster query tells both whether the drive is ready and its geometry, so a slow drive
    // is asked once; it never prompts for a medium.
    const auto clusters = platform::DriveClusters(root);
    if (!clusters) return info;
    info.SectorsPerCluster = clusters->sectorsPerCluster;
    info.BytesPerSector = clusters->bytesPerSector;
    info.FreeClusters = clusters->freeClusters;
    info.TotalClusters = clusters->totalClusters;
    if (const auto space = platform::DriveSpace(root)) {
        info.TotalSize = static_cast<std::int64_t>(space->total);
        info.FreeSize = static_cast<std::int64_t>(space->availableToCaller);
    } else {
        const std::int64_t cluster = static_cast<std::int64_t>(info.SectorsPerCluster) * info.BytesPerSector;
        info.TotalSize = cluster * info.TotalClusters;
        info.FreeSize = cluster * info.FreeClusters;
    }
    return info;
}

bool TQFileExplorer::IsDriveReady(std::wstring_view drive) {
    return platform::DriveClusters(Root(drive)).has_value();
}

}  // namespace korvex::components
