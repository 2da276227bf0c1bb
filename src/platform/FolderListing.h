#pragma once
// A folder's entries read through one handle of the folder, each with the identity of the file or
// folder it names: a walk of a tree learns each subfolder's identity from its parent's listing
// instead of opening the subfolder a second time.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "FileSystem.h"
#include "UniqueResource.h"

namespace korvex::platform {

struct FolderEntry {
    std::wstring_view name;  // valid until the next call of Next
    DWORD attributes = 0;
    std::uint64_t size = 0;
    std::uint64_t index = 0;  // FileIdentity::index of the entry on the folder's volume; 0 when unknown
};

class FolderListing {
public:
    // Opens the folder (any length of path). Every entry comes, hidden and system ones, "." and ".."
    // included, in the file system's order, as a search for "*" returns them.
    explicit FolderListing(std::wstring_view folder);
    FolderListing(const FolderListing&) = delete;
    FolderListing& operator=(const FolderListing&) = delete;

    // False when the folder could not be opened (missing, no access, not a folder).
    explicit operator bool() const noexcept { return static_cast<bool>(handle_); }

    // The folder's own identity, asked of the open handle.
    std::optional<FileIdentity> Identity() const;

    // The next entry; nothing once the listing is over or cannot go on.
    std::optional<FolderEntry> Next();

private:
    // Reads the next batch of entries; false at the end or when the folder cannot be read.
    bool Fill();

    UniqueFile handle_;
    std::unique_ptr<std::byte[]> buffer_;
    const std::byte* next_ = nullptr;  // the entry Next returns, in buffer_; null when a new batch is due
    bool started_ = false;
    bool finished_ = false;
    bool withIds_ = true;  // the records are FILE_ID_BOTH_DIR_INFO, else FILE_FULL_DIR_INFO
};

}  // namespace korvex::platform
