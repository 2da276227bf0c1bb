#pragma once
// What the shell says of a file, folder or drive: icon index in the system image list, type name
// and display name.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <optional>
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

// Asks the shell about a kind of entry without touching the disk (SHGFI_USEFILEATTRIBUTES): a file
// with the name's extension, or, with FILE_ATTRIBUTE_DIRECTORY, a folder. Never blocks on a drive.
ShellItemInfo QueryShellInfoByType(std::wstring_view name, DWORD attributes);

// Whether the shell reads a folder's own icon and name (its desktop.ini): only for a folder with
// the read-only or the system attribute. Every other folder looks like every other.
inline bool FolderMayBeCustomised(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM));
}

// What a listing shows of each entry at once, with no question by path: every file of a type the
// type's answer (one query per extension), every plain folder one folder answer. The entries that
// need an answer of their own (marked folders, files without an extension, the types whose icon
// always belongs to the file: .exe, .ico, .lnk, .cur, .ani, .url, and every type the registry says
// draws each file's own icon) are told so; their answers are asked elsewhere and handed back with
// Remember. The first file of each plain type is to be asked by path too, as the type's
// confirmation (ConfirmType): the shell's answer by type may word the type otherwise (Wine names an
// unregistered type ".txt file" by type and "txt file" by path). The decision of what is asked by
// path is made once per extension and listing.
class ShellInfoCache {
public:
    struct Answer {
        const ShellItemInfo& info;  // valid until the next BeginListing
        bool askPerPath;            // info is the type's: the path's own answer is still to come
        bool confirmType;           // the first file of a type not confirmed yet: ask its path for the type
    };
    // lastWrite: the entry's time of last writing. An entry with an answer of its own whose
    // attributes and time are still those of the listing before (when BeginListing kept its
    // answers) gets that answer again and needs no question.
    Answer ForEntry(std::wstring_view path, std::wstring_view name, DWORD attributes, const FILETIME& lastWrite = {});
    // The answer of an entry's own, asked by path, for this listing and the ones that keep it.
    void Remember(std::wstring_view path, DWORD attributes, const FILETIME& lastWrite, const ShellItemInfo& info);
    // The answer by path of a file of a plain type (name: the file's name) becomes the type's. Returns
    // the type's answer before, when it differs (its rows are to show the new one).
    std::optional<ShellItemInfo> ConfirmType(std::wstring_view name, const ShellItemInfo& info);
    // Starts a listing: the answers by type are asked afresh; keepPathAnswers keeps the previous
    // listing's per-path answers for the entries that did not change, and its confirmed types.
    void BeginListing(bool keepPathAnswers);
    void Clear() { BeginListing(false); }
    bool AnsweredPerPath(std::wstring_view name, DWORD attributes);
    // How many times the shell was asked here, in all (all by type).
    std::size_t ShellQueries() const noexcept { return shellQueries_; }

private:
    struct PathAnswer {
        DWORD attributes = 0;
        FILETIME lastWrite{};
        ShellItemInfo info;
    };
    struct TypeAnswer {
        ShellItemInfo info;
        bool confirmed = false;  // by the path of a file of the type
        bool confirmationAsked = false;
    };
    // extension: the name's extension, folded.
    bool PerPathByExtension(const std::wstring& extension, DWORD attributes);
    std::unordered_map<std::wstring, TypeAnswer> byType_;  // folded extension; "\\" for a folder
    std::unordered_map<std::wstring, bool> perFile_;       // extension -> its icon belongs to each file
    // Looked up by any text of a path, with no copy of it made for the lookup.
    struct PathHash {
        using is_transparent = void;
        std::size_t operator()(std::wstring_view path) const noexcept { return std::hash<std::wstring_view>{}(path); }
    };
    using PathAnswers = std::unordered_map<std::wstring, PathAnswer, PathHash, std::equal_to<>>;
    PathAnswers previous_, current_;  // by path, of the listing before and this one
    std::size_t shellQueries_ = 0;
};

}  // namespace korvex::platform
