#include "SendListFiller.h"

#include <algorithm>

#include "DevicePath.h"
#include "FolderListing.h"
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
    // A device is refused by its name before the disk is asked: "C:\NUL" answers as a file does.
    if (IsDevicePath(path)) {
        notAdded_.devices.emplace_back(path);
        return;
    }
    // However the path was spelled, the list holds the system's own form of it, so that one file
    // never becomes two entries. A spelling that only the system's form shows to be a device
    // ("\\.\C:\..\CON") is refused too.
    const std::wstring canonical = platform::CanonicalPath(path);
    if (IsDevicePath(canonical)) {
        notAdded_.devices.emplace_back(path);
        return;
    }
    if (list_.Contains(canonical)) return;
    const DWORD attributes = platform::FileAttributes(canonical);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        notAdded_.missing.emplace_back(path);
        return;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (recursive) WalkFolder(canonical, recursive);
        return;
    }
    if (list_.Add(canonical, SizeToText(platform::ProbeFileSize(canonical), decimalSeparator_))) ++added_;
}

void SendListFiller::AddFolder(std::wstring_view folder, bool recursive) {
    if (stopped_) return;
    WalkFolder(platform::CanonicalPath(folder), recursive);
}

void SendListFiller::WalkFolder(const std::wstring& folder, bool recursive,
                                std::optional<platform::FileIdentity> identity) {
    if (stopped_) return;
    const std::wstring folderText = EnsureBackslash(folder);
    platform::FolderListing listing(folderText);
    if (!listing) return;
    // Links inside the tree are never followed (below); this catches a walk that started at a
    // link and still meets its own ancestor where the file system reports no link. A subfolder's
    // identity comes with its parent's listing; the open folder is asked only where none came.
    if (!identity) identity = listing.Identity();
    if (identity) {
        if (std::find(walkPath_.begin(), walkPath_.end(), *identity) != walkPath_.end()) return;
        walkPath_.push_back(*identity);
    }
    while (const auto entry = listing.Next()) {
        const std::wstring_view name = entry->name;
        if (name == L"." || name == L"..") continue;
        // Once stopped, the rest of this folder's entries are left unread.
        if (!Tick()) break;
        if (!(entry->attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            // A file that bears a device's name (made by a program that bypasses the name rules,
            // or on another system's disk) would reach the client as the device.
            if (IsDeviceName(name)) {
                notAdded_.devices.push_back(folderText + std::wstring(name));
                continue;
            }
            // The directory entry at hand already holds what AddPath would ask the disk again;
            // Add applies the same duplicate test.
            if (list_.Add(folderText, name, SizeToText(entry->size, decimalSeparator_))) ++added_;
        } else if (recursive && !platform::IsFolderLink(entry->attributes)) {
            // A linked folder's files belong to another place in some tree: taking them here would
            // send them under a second path, or twice.
            std::wstring subfolder = folderText;
            subfolder.append(name);
            std::optional<platform::FileIdentity> subIdentity;
            if (identity && entry->index) subIdentity = platform::FileIdentity{identity->volume, entry->index};
            WalkFolder(subfolder, recursive, subIdentity);
        }
    }
    if (identity) walkPath_.pop_back();
}

}  // namespace korvex
