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

// Whether the shell draws every file of this type (".ext", any case) with an icon of its own: the
// type's class takes the icon from the file itself (DefaultIcon "%1") or asks an icon handler
// (shellex\IconHandler, on the class or on the extension's own key). Read from HKEY_CLASSES_ROOT.
bool TypeHasIconPerFile(std::wstring_view extension);

// Answers plain files per extension, since the shell gives every file of a type the same icon and
// type name (the first file of each extension is asked by path); asks per path for folders, files
// without an extension, the types whose icon always belongs to the file (.exe, .ico, .lnk, .cur,
// .ani, .url), and every type the registry says draws each file's own icon. That decision is
// made once per extension and kept until Clear.
class ShellInfoCache {
public:
    ShellItemInfo ForEntry(std::wstring_view path, std::wstring_view name, DWORD attributes);
    void Clear() {
        byExtension_.clear();
        perFile_.clear();
    }
    bool AnsweredPerPath(std::wstring_view name, DWORD attributes);

private:
    std::unordered_map<std::wstring, ShellItemInfo> byExtension_;
    std::unordered_map<std::wstring, bool> perFile_;  // extension -> its icon belongs to each file
};

}  // namespace korvex::platform
