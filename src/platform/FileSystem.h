#pragma once
// Files and folders, with any name and any length of path.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace korvex::platform {

// The path as the W functions take it: an absolute path of MAX_PATH or more gets the "\\?\" form
// (normalised first, since that form is taken literally), so deep trees work on every Windows.
std::wstring ToApiPath(std::wstring_view path);

// The path as the system resolves it, so that every spelling of one file gives one text (up to
// letter case): full, "." and ".." resolved, "/" as "\", trailing dots and blanks of its names
// dropped, short 8.3 names of an existing path replaced by the long ones, and without the "\\?\"
// prefix, nor the "\\.\" one before a drive's or a server's path (the long-path form is added back
// by ToApiPath where a call needs it). A device's path stays one ("C:\x\CON" gives "\\.\CON"):
// IsDevicePath tells it.
std::wstring CanonicalPath(std::wstring_view path);

// The longest folder (with its trailing "\") that can be the process's current directory.
inline constexpr std::size_t kLongestCurrentDirectory = MAX_PATH - 2;

// Makes folder the process's current directory when the system can hold it; a longer one leaves
// the current directory where it was (the system keeps it in a MAX_PATH buffer). True when set.
bool FollowWithCurrentDirectory(std::wstring_view folder);

// A directory symbolic link, junction or mount point: a folder that is another folder's contents.
inline bool IsFolderLink(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// INVALID_FILE_ATTRIBUTES when the path does not exist or cannot be examined.
DWORD FileAttributes(std::wstring_view path);

// The size of the file's directory entry; 0 when it cannot be found.
std::uint64_t ProbeFileSize(std::wstring_view path);

inline std::uint64_t FindDataSize(const WIN32_FIND_DATAW& data) {
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Calls onEntry for every directory entry that matches pattern ("." and ".." included), in the
// file system's order. Returns false when the search could not start (nothing found, no access).
bool EnumerateDirectory(std::wstring_view pattern, const std::function<void(const WIN32_FIND_DATAW&)>& onEntry);

// What tells one folder from another, whatever path leads to it (links and junctions included).
struct FileIdentity {
    DWORD volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The whole file; throws Win32Error when it cannot be opened or read.
std::string ReadFileBytes(std::wstring_view path);

// The running executable's full path.
std::wstring ModuleFileName();

}  // namespace korvex::platform
