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
    if (!Tick() || list_.Contains(path)) return;
    // A path that cannot be examined reports all attribute bits, the folder bit among them, and
    // then adds nothing since its enumeration finds nothing.
    if (platform::FileAttributes(path) & FILE_ATTRIBUTE_DIRECTORY) {
        if (recursive) AddFolder(path, recursive);
        return;
    }
    if (list_.Add(path, SizeToText(platform::ProbeFileSize(path), decimalSeparator_))) ++added_;
}

void SendListFiller::AddFolder(std::wstring_view folder, bool recursive) {
    if (stopped_) return;
    const std::wstring folderText = EnsureBackslash(folder);
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
        } else if (recursive) {
            AddFolder(folderText + std::wstring(name), recursive);
        }
    });
    if (identity) walkPath_.pop_back();
}

}  // namespace korvex
