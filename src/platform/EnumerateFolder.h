#pragma once
// A folder's entries as a listing takes them, read so that reading a big folder and the caller's
// work on what was read go on at once.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "FileSystem.h"

namespace korvex::platform {

// What a listing takes of one directory entry.
struct FolderEntryView {
    std::wstring_view name;
    DWORD attributes = 0;
    FILETIME lastWrite{};
    std::uint64_t size = 0;
};

inline FolderEntryView ViewOf(const WIN32_FIND_DATAW& found) {
    return {found.cFileName, found.dwFileAttributes, found.ftLastWriteTime, FindDataSize(found)};
}

// Calls onEntry on the calling thread for every directory entry that matches pattern ("." and ".."
// included; any length), in the file system's order, as EnumerateDirectory does. Past the first
// few hundred entries the folder is read on by a thread of its own while the caller works on what
// was read, in batches handed over as they fill. Returns false when the search could not start.
// An exception from onEntry ends the reading and passes on.
bool EnumerateFolder(std::wstring_view pattern, const std::function<void(const FolderEntryView&)>& onEntry);

}  // namespace korvex::platform
