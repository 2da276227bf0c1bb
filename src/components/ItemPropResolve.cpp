// ItemProp: file-system paths turned into shell items.
//
// A path is split into its folder and its name; the folder is parsed in the desktop folder and
// bound, the name is parsed there. A drive root (empty name) is parsed whole in the desktop, and
// only when the desktop refuses it in the first folder the desktop lists (the computer).

#include "ItemPropResolve.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <utility>

#include "FileSystem.h"
#include "Locale.h"
#include "PathText.h"
#include "UniqueResource.h"

namespace korvex::components {

using platform::ComPtr;
using platform::ItemIdList;

namespace {

using platform::SameNameIgnoringCase;

ComPtr<IShellFolder> DesktopFolder() {
    ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.put()))) return {};
    return desktop;
}

ItemIdList Parse(IShellFolder* folder, HWND owner, const std::wstring& name) {
    std::wstring text = name;  // the parser takes a writable text
    ItemIdList id;
    ULONG eaten = 0;
    if (FAILED(folder->ParseDisplayName(owner, nullptr, text.data(), &eaten, id.put(), nullptr))) return {};
    return id;
}

ComPtr<IShellFolder> Bind(IShellFolder* parent, LPCITEMIDLIST id) {
    ComPtr<IShellFolder> folder;
    if (FAILED(parent->BindToObject(id, nullptr, IID_IShellFolder, folder.put_void()))) return {};
    return folder;
}

// The folder a path's folder part names, parsed in the desktop.
ComPtr<IShellFolder> BindPath(IShellFolder* desktop, HWND owner, const std::wstring& folderPath) {
    const ItemIdList id = Parse(desktop, owner, folderPath);
    return id ? Bind(desktop, id.get()) : ComPtr<IShellFolder>{};
}

// An absolute ID list as its parent folder and the last item in it.
bool SplitAbsolute(LPCITEMIDLIST absolute, FolderItems& out) {
    ComPtr<IShellFolder> parent;
    LPCITEMIDLIST last = nullptr;
    if (FAILED(SHBindToParent(absolute, IID_IShellFolder, parent.put_void(), &last)) || !parent || !last) return false;
    ItemIdList child(ILClone(last));
    if (!child) return false;
    out.folder = std::move(parent);
    out.children.clear();
    out.children.push_back(std::move(child));
    return true;
}

std::wstring_view WithoutTrailingBackslash(std::wstring_view path) {
    if (path.size() > 3 && path.back() == L'\\') path.remove_suffix(1);
    return path;
}

// Some shells cut a path longer than MAX_PATH, and the cut path may name another item (an
// ancestor, a sibling). So such a path counts as resolved only when the item's parsing name is
// the path itself; shorter paths are taken as the shell parsed them.
bool NamesPath(IShellFolder* folder, LPCITEMIDLIST child, std::wstring_view path) {
    if (path.size() < MAX_PATH) return true;
    STRRET name{};
    if (FAILED(folder->GetDisplayNameOf(child, SHGDN_FORPARSING, &name))) return false;
    platform::UniqueCoTaskMem<wchar_t> text;
    if (FAILED(StrRetToStrW(&name, child, text.put())) || !text) return false;
    const std::wstring parsed(text.get());
    return SameNameIgnoringCase(WithoutTrailingBackslash(parsed), WithoutTrailingBackslash(path));
}

// Every match of a pattern in its folder ("." and ".." are no items of it).
bool ResolvePattern(IShellFolder* desktop, HWND owner, const std::wstring& pattern, FolderItems& out) {
    const std::wstring folderPart(ExtractFileDir(pattern));
    auto folder = BindPath(desktop, owner, folderPart);
    if (!folder) return false;
    std::vector<std::wstring> names;
    platform::EnumerateDirectory(pattern, [&](const WIN32_FIND_DATAW& found) {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") names.emplace_back(name);
    });
    out.children.clear();
    for (const auto& name : names)
        if (auto child = Parse(folder.get(), owner, name))
            if (NamesPath(folder.get(), child.get(), folderPart + name)) out.children.push_back(std::move(child));
    out.folder = std::move(folder);
    return !out.children.empty();
}

bool IsDrivesFolder(std::wstring_view folderPath) {
    return SameNameIgnoringCase(folderPath, L"Drives") || SameNameIgnoringCase(folderPath, L"Drives\\");
}

}  // namespace

bool HasWildcard(std::wstring_view name) {
    return name.find_first_of(L"*?") != std::wstring_view::npos;
}

bool ResolvePath(const std::wstring& path, HWND owner, FolderItems& out) {
    const auto desktop = DesktopFolder();
    if (!desktop || path.empty()) return false;
    const std::wstring name(ExtractFileName(path));
    const std::wstring folderPart(ExtractFileDir(path));
    if (HasWildcard(name)) return ResolvePattern(desktop.get(), owner, path, out);

    if (!name.empty() && !folderPart.empty()) {
        if (auto folder = BindPath(desktop.get(), owner, folderPart)) {
            if (auto child = Parse(folder.get(), owner, name)) {
                if (!NamesPath(folder.get(), child.get(), path)) return false;
                out.folder = std::move(folder);
                out.children.clear();
                out.children.push_back(std::move(child));
                return true;
            }
        }
    }
    // A drive root has no name part: the desktop parses it whole.
    if (const auto absolute = Parse(desktop.get(), owner, path)) {
        if (SplitAbsolute(absolute.get(), out)) return NamesPath(out.folder.get(), out.children.front().get(), path);
    }
    // Should the desktop refuse, the first folder it lists (the computer) may know the drive.
    ComPtr<IEnumIDList> list;
    if (desktop->EnumObjects(owner, SHCONTF_FOLDERS, list.put()) != S_OK || !list) return false;
    ItemIdList first;
    ULONG fetched = 0;
    if (list->Next(1, first.put(), &fetched) != S_OK || !first) return false;
    auto folder = Bind(desktop.get(), first.get());
    if (!folder) return false;
    auto child = Parse(folder.get(), owner, path);
    if (!child || !NamesPath(folder.get(), child.get(), path)) return false;
    out.folder = std::move(folder);
    out.children.clear();
    out.children.push_back(std::move(child));
    return true;
}

bool ResolveNames(const std::wstring& folderPath, const std::vector<std::wstring>& names, HWND owner,
                  FolderItems& out) {
    const auto desktop = DesktopFolder();
    if (!desktop || folderPath.empty()) return false;
    ComPtr<IShellFolder> folder;
    if (IsDrivesFolder(folderPath)) {
        // The drives view: the names are drive roots, items of the computer folder.
        ItemIdList computer;
        if (FAILED(SHGetSpecialFolderLocation(owner, CSIDL_DRIVES, computer.put())) || !computer) return false;
        folder = Bind(desktop.get(), computer.get());
    } else {
        folder = BindPath(desktop.get(), owner, folderPath);
    }
    if (!folder) return false;
    const std::wstring prefix = IsDrivesFolder(folderPath) ? std::wstring() : EnsureBackslash(folderPath);
    out.children.clear();
    for (const auto& name : names)
        if (!name.empty())
            if (auto child = Parse(folder.get(), owner, name))
                if (NamesPath(folder.get(), child.get(), prefix + name)) out.children.push_back(std::move(child));
    out.folder = std::move(folder);
    return !out.children.empty();
}

}  // namespace korvex::components
