// TQFileExplorer: questions about the selection, for the status bar, the shell menu and adding.

#include "Drives.h"
#include "ExplorerText.h"
#include "FileSystem.h"
#include "PathText.h"
#include "QFileExplorer.h"

namespace korvex::components {

int TQFileExplorer::SelectedCount() const {
    const int selected = hwnd_ ? ListView_GetSelectedCount(hwnd_) : 0;
    return selected > 0 ? selected : static_cast<int>(order_.size());
}

std::int64_t TQFileExplorer::SelectedSize() const {
    if (!hwnd_) return 0;
    const std::wstring folder = EnsureBackslash(directory_);
    std::uint64_t total = 0;
    ForEachSelected([&](std::size_t i) {
        // Read from the disk now: a file deleted since the listing adds nothing, a folder its own
        // entry's size (0), a drive nothing.
        const std::wstring_view name = BareName(Entry(i).FullPath());
        if (!name.empty()) total += platform::ProbeFileSize(folder + std::wstring(name));
    });
    return static_cast<std::int64_t>(total);
}

std::wstring TQFileExplorer::SelectedFilenames() {
    selectionList_.clear();
    std::wstring result;
    if (!hwnd_) return result;
    ForEachSelected([&](std::size_t i) {
        const std::wstring& path = Entry(i).FullPath();
        selectionList_.emplace_back(BareName(path));
        if (!result.empty() || selectionList_.size() > 1) result += L';';
        result += path;
    });
    return result;
}

TObjectTypes TQFileExplorer::SelectedTypes() const {
    std::uint8_t bits = 0;
    if (!hwnd_) return {};
    ForEachSelected([&](std::size_t i) { bits |= KindOfTag(Entry(i).Kind()).Bits(); });
    return TObjectTypes::FromBits(bits);
}

std::vector<std::wstring> TQFileExplorer::GetNameList(bool fullPath, bool selectedOnly) const {
    std::vector<std::wstring> names;
    for (std::size_t i = 0; i < order_.size(); ++i) {
        if (selectedOnly && !(hwnd_ && IsSelected(i))) continue;
        names.push_back(fullPath ? directory_ + Entry(i).caption : Entry(i).caption);
    }
    return names;
}

std::pair<std::int64_t, std::int64_t> TQFileExplorer::GetDriveSpace() const {
    // The drive of the shown folder; in the drives view every drive that is ready. A slow drive
    // (network, removable, optical) counts as its last answer in the drives view told, or not at
    // all: the window's thread never waits for one. Each drive is asked once for both sums.
    std::int64_t size = 0, free = 0;
    const auto add = [&](const TDiskInfo& disk) {
        size += disk.TotalSize;
        free += disk.FreeSize;
    };
    if (!IsDrivesView()) {
        if (!directory_.empty()) add(GetDiskInfo(std::wstring{directory_[0], L':'}));
        return {size, free};
    }
    const std::uint32_t mask = GetLogicalDrives();
    for (int n = 0; n < 26; ++n) {
        if (!(mask & (1u << n))) continue;
        const std::wstring drive{static_cast<wchar_t>(L'A' + n), L':'};
        if (const auto& known = slowDrives_[static_cast<std::size_t>(n)])
            add(*known);
        else if (!platform::IsSlowDriveType(platform::DriveType(drive + L"\\")))
            add(GetDiskInfo(drive));
    }
    return {size, free};
}

std::int64_t TQFileExplorer::GetDriveSize() const {
    return GetDriveSpace().first;
}

std::int64_t TQFileExplorer::GetDriveFreeSpace() const {
    return GetDriveSpace().second;
}

}  // namespace korvex::components
