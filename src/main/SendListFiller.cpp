#include "SendListFiller.h"

#include <algorithm>

#include "PathText.h"
#include "SizeText.h"

namespace korvex {

bool SendListFiller::Tick() {
    if (stopped_) return false;
    if (progress_ && ++met_ % step_ == 0 && !progress_(added_)) stopped_ = true;
    return !stopped_;
}

void SendListFiller::AddPath(std::wstring_view path, bool recursive) {
    if (!Tick()) return;
    // However the path was spelled, the list holds the system's own form of it, so that one file
    // never becomes two entries.
    const std::wstring canonical = platform::CanonicalPath(path);
    if (list_.Contains(canonical)) return;
    // A path that cannot be examined reports all attribute bits, the folder bit among them, and
    // then adds nothing since its enumeration finds nothing.
    if (platform::FileAttributes(canonical) & FILE_ATTRIBUTE_DIRECTORY) {
        if (recursive) WalkFolder(canonical, recursive);
        return;
    }
    if (list_.Add(canonical, SizeToText(platform::ProbeFileSize(canonical), decimalSeparator_))) ++added_;
}

void SendListFiller::AddFolder(std::wstring_view folder, bool recursive) {
    if (stopped_) return;
    WalkFolder(platform::CanonicalPath(folder), recursive);
}

void SendListFiller::WalkFolder(const std::wstring& folder, bool recursive) {
    if (stopped_) return;
    const std::wstring folderText = EnsureBackslash(folder);
    // Links inside the tree are never followed (below); this catches a walk that started at a
    // link and still meets its own ancestor where the file system reports no link.
    const auto identity = platform::IdentifyFile(folderText);
    if (identity) {
        if (std::find(walkPath_.begin(), walkPath_.end(), *identity) != walkPath_.end()) return;
        walkPath_.push_back(*identity);
    }
    platform::EnumerateDirectory(folderText + L"*.*", [&](const WIN32_FIND_DATAW& found) {
        const std::wstring_view name = found.cFileName;
        // Once stopped, the rest of this folder's entries pass by unseen.
        if (name == L"." || name == L".." || !Tick()) return;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            // The directory entry at hand already holds what AddPath would ask the disk again;
            // Add applies the same duplicate test.
            if (list_.Add(folderText, name, SizeToText(platform::FindDataSize(found), decimalSeparator_))) ++added_;
        } else if (recursive && !platform::IsFolderLink(found.dwFileAttributes)) {
            // A linked folder's files belong to another place in some tree: taking them here would
            // send them under a second path, or twice.
            WalkFolder(folderText + std::wstring(name), recursive);
        }
    });
    if (identity) walkPath_.pop_back();
}

}  // namespace korvex
