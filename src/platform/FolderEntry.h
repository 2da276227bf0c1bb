#pragma once
// What a listing takes of one directory entry, however it was read.

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "FileSystem.h"

namespace korvex::platform {

struct FolderEntryView {
    std::wstring_view name;
    DWORD attributes = 0;
    FILETIME lastWrite{};
    std::uint64_t size = 0;
};

inline FolderEntryView ViewOf(const WIN32_FIND_DATAW& found) {
    return {found.cFileName, found.dwFileAttributes, found.ftLastWriteTime, FindDataSize(found)};
}

}  // namespace korvex::platform
