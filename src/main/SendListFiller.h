#pragma once
// Fills the send list from paths on disk: a file is added, a folder expanded when asked.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FileSystem.h"
#include "NotAdded.h"
#include "SendList.h"

namespace korvex {

class SendListFiller {
public:
    SendListFiller(SendList& list, wchar_t decimalSeparator) : list_(list), decimalSeparator_(decimalSeparator) {}

    // Told the number of files added so far after every step entries the walk meets (files and
    // folders alike, so a tree of empty folders reports too); returning false stops the walk, and
    // what was added until then stays.
    using Progress = std::function<bool(std::size_t added)>;
    void SetProgress(Progress progress, std::size_t step = 64) {
        progress_ = std::move(progress);
        step_ = step ? step : 1;
    }
    bool Stopped() const noexcept { return stopped_; }
    std::size_t Added() const noexcept { return added_; }

    // Adds the file at path, or with recursive set every file beneath the folder at path. The path
    // is first made full and canonical, so that any spelling of a listed file is found listed. A
    // path that is already listed adds nothing; one that names a device, does not exist or cannot
    // be examined adds nothing and is kept, as given, in NotAddedPaths.
    void AddPath(std::wstring_view path, bool recursive);

    // Adds the files of the folder, hidden and system ones included, in the file system's order;
    // with recursive set each subfolder is added completely where the walk meets it (depth first).
    // A folder link (symbolic link, junction) met on the way is not entered: its files are added
    // where they really are. The folder given may itself be a link. A file whose name is a device's
    // is not added but kept in NotAddedPaths.
    void AddFolder(std::wstring_view folder, bool recursive);

    // What the adds so far left out and the user is to be told of, in the order met.
    const NotAdded& NotAddedPaths() const noexcept { return notAdded_; }

private:
    // Counts one entry met; false once the walk is to stop.
    bool Tick();
    // AddFolder on a canonical path; identity is the folder's where its parent's listing gave it.
    void WalkFolder(const std::wstring& folder, bool recursive, std::optional<platform::FileIdentity> identity = {});

    SendList& list_;
    wchar_t decimalSeparator_;
    std::vector<platform::FileIdentity> walkPath_;
    Progress progress_;
    std::size_t step_ = 64;
    std::size_t met_ = 0;
    std::size_t added_ = 0;
    NotAdded notAdded_;
    bool stopped_ = false;
};

}  // namespace korvex
