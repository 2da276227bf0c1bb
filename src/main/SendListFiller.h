#pragma once
// Fills the send list from paths on disk: a file is added, a folder expanded when asked.

#include <string_view>
#include <vector>

#include "FileSystem.h"
#include "SendList.h"

namespace korvex {

class SendListFiller {
public:
    SendListFiller(SendList& list, wchar_t decimalSeparator) : list_(list), decimalSeparator_(decimalSeparator) {}

    // Adds the file at path, or with recursive set every file beneath the folder at path. A path
    // that is already listed, does not exist or cannot be examined adds nothing.
    void AddPath(std::wstring_view path, bool recursive);

    // Adds the files of the folder, hidden and system ones included, in the file system's order;
    // with recursive set each subfolder is added completely where the walk meets it (depth first).
    // A folder already on the walk's own path (a link or junction back to an ancestor) is not
    // entered again, so a cycle ends; every file still arrives once.
    void AddFolder(std::wstring_view folder, bool recursive);

private:
    SendList& list_;
    wchar_t decimalSeparator_;
    std::vector<platform::FileIdentity> walkPath_;
};

}  // namespace korvex
