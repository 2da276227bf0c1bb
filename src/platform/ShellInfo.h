#pragma once
// What the shell says of a file, folder or drive: icon index in the system image list, type name
// and display name.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace korvex::platform {

struct ShellItemInfo {
    int iconIndex = 0;
    std::wstring typeName;
    std::wstring displayName;
};

// Asks the shell about one path (the display name too when asked). Paths too long for the shell
// are answered from their name and attributes.
ShellItemInfo QueryShellInfo(std::wstring_view path, DWORD attributes, bool withDisplayName);

// The system image list of large or small icons. It belongs to the system: never destroy it.
HIMAGELIST SystemImageList(bool small);

// Answers plain files per extension, since the shell gives every file of a type the same icon and
// type name (the first file of each extension is asked by path); asks per path for folders and for the types whose icon
// belongs to each file
// (.exe, .ico, .lnk, .cur, .ani, .url, and files without an extension).
class ShellInfoCache {
public:
    ShellItemInfo ForEntry(std::wstring_view path, std::wstring_view name, DWORD attributes);
    void Clear() { byExtension_.clear(); }
    static bool AnsweredPerPath(std::wstring_view name, DWORD attributes);

private:
    std::unordered_map<std::wstring, ShellItemInfo> byExtension_;
};

}  // namespace korvex::platform
