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
// (shellex\IconHandler, on the class or on the extension's own key). Read from the classes as
// HKEY_CLASSES_ROOT shows them, the user's own (HKCU\Software\Classes) first.
bool TypeHasIconPerFile(std::wstring_view extension);

// Answers plain files per extension, since the shell gives every file of a type the same icon and
// type name (the first file of each extension is asked by path); asks per path for folders, files
// without an extension, the types whose icon always belongs to the file (.exe, .ico, .lnk, .cur,
// .ani, .url), and every type the registry says draws each file's own icon. That decision is
// made once per extension and listing.
class ShellInfoCache {
public:
    // lastWrite: the entry's time of last writing. An entry asked about by path whose attributes
    // and time are still those of the listing before (when BeginListing kept its answers) gets
    // that answer again without asking the shell.
    // The answer stays valid until the next BeginListing.
    const ShellItemInfo& ForEntry(std::wstring_view path, std::wstring_view name, DWORD attributes,
                                  const FILETIME& lastWrite = {});
    // Starts a listing: the per-extension answers are asked afresh; keepPathAnswers keeps the
    // previous listing's per-path answers for the entries that did not change.
    void BeginListing(bool keepPathAnswers);
    void Clear() { BeginListing(false); }
    bool AnsweredPerPath(std::wstring_view name, DWORD attributes);
    // How many times the shell was asked, in all.
    std::size_t ShellQueries() const noexcept { return shellQueries_; }

private:
    struct PathAnswer {
        DWORD attributes = 0;
        FILETIME lastWrite{};
        ShellItemInfo info;
    };
    ShellItemInfo Ask(std::wstring_view path, DWORD attributes);
    // extension: the name's extension, folded.
    bool PerPathByExtension(const std::wstring& extension, DWORD attributes);
    std::unordered_map<std::wstring, ShellItemInfo> byExtension_;
    std::unordered_map<std::wstring, bool> perFile_;                   // extension -> its icon belongs to each file
    std::unordered_map<std::wstring, PathAnswer> previous_, current_;  // by path, of the listing before and this one
    std::size_t shellQueries_ = 0;
};

}  // namespace korvex::platform
