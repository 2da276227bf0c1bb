#pragma once
// ItemProp's resolving of file-system paths to shell items: one shell folder and the item ID
// lists of items in it.

#include <windows.h>
#include <shobjidl.h>

#include <string>
#include <string_view>
#include <vector>

#include "ComPtr.h"

namespace korvex::components {

struct FolderItems {
    platform::ComPtr<IShellFolder> folder;
    std::vector<platform::ItemIdList> children;
};

// Whether a name is a pattern ("*" or "?").
bool HasWildcard(std::wstring_view name);

// One file, folder or drive root ("C:\\"); a name part with "*" or "?" stands for every match in
// its folder. A path longer than MAX_PATH counts only when the shell's item is that path itself.
bool ResolvePath(const std::wstring& path, HWND owner, FolderItems& out);

// Bare names of one folder; the folder "Drives" (any letter case) stands for the computer, whose
// items are drive roots. Names that do not exist are left out; false when none is left.
bool ResolveNames(const std::wstring& folderPath, const std::vector<std::wstring>& names, HWND owner, FolderItems& out);

}  // namespace korvex::components
