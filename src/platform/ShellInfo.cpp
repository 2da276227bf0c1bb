#include "ShellInfo.h"

#include <shellapi.h>
#include <shlobj.h>

#include <array>
#include <utility>
#include <optional>

#include "Locale.h"
#include "Registry.h"

namespace korvex::platform {

namespace {

std::wstring_view Extension(std::wstring_view name) {
    const auto dot = name.find_last_of(L'.');
    return dot == std::wstring_view::npos ? std::wstring_view{} : name.substr(dot);
}

ShellItemInfo FromFileInfo(const SHFILEINFOW& sfi, bool withDisplayName) {
    ShellItemInfo info;
    info.iconIndex = sfi.iIcon;
    info.typeName = sfi.szTypeName;
    if (withDisplayName) info.displayName = sfi.szDisplayName;
    return info;
}

}  // namespace

ShellItemInfo QueryShellInfo(std::wstring_view path, DWORD attributes, bool withDisplayName) {
    SHFILEINFOW sfi{};
    UINT flags = SHGFI_SYSICONINDEX | SHGFI_TYPENAME | (withDisplayName ? SHGFI_DISPLAYNAME : 0);
    std::wstring query(path);
    if (query.size() >= MAX_PATH) {
        // The shell takes no longer paths: answer from the name and attributes.
        const auto slash = query.find_last_of(L'\\', query.size() - 2);
        query = query.substr(slash == std::wstring::npos ? 0 : slash + 1);
        flags |= SHGFI_USEFILEATTRIBUTES;
    }
    if (!SHGetFileInfoW(query.c_str(), attributes, &sfi, sizeof sfi, flags)) return {};
    return FromFileInfo(sfi, withDisplayName);
}

HIMAGELIST SystemImageList(bool small) {
    // Asked for directly: asking SHGetFileInfo for them goes through a lookup of the empty path,
    // which under Wine costs as much as a query by path (over 15 ms each).
    HIMAGELIST large = nullptr, smallIcons = nullptr;
    if (Shell_GetImageLists(&large, &smallIcons) && (small ? smallIcons : large)) return small ? smallIcons : large;
    SHFILEINFOW sfi{};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"", 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | (small ? SHGFI_SMALLICON : 0)));
}

namespace {

// A key of the classes as HKEY_CLASSES_ROOT shows them on Windows: the user's own
// (HKCU\Software\Classes) before the machine's. Wine's HKEY_CLASSES_ROOT shows only the machine's.
std::optional<RegistryKey> OpenClassKey(const std::wstring& subKey) {
    if (auto user = RegistryKey::OpenForRead(HKEY_CURRENT_USER, L"Software\\Classes\\" + subKey)) return user;
    return RegistryKey::OpenForRead(HKEY_CLASSES_ROOT, subKey);
}

bool HasClassKey(const std::wstring& subKey) {
    return OpenClassKey(subKey).has_value();
}

std::wstring DefaultValue(const std::wstring& subKey) {
    const auto key = OpenClassKey(subKey);
    return key ? key->ReadText(L"").value : std::wstring();
}

// "%1", however quoted or padded.
bool IsFileItself(std::wstring_view icon) {
    std::wstring bare;
    for (const wchar_t c : icon)
        if (c != L'"' && c != L' ' && c != L'\t') bare += c;
    return bare == L"%1";
}

}  // namespace

bool TypeHasIconPerFile(std::wstring_view extension) {
    if (extension.size() < 2 || extension[0] != L'.') return false;
    const std::wstring ext(extension);
    if (HasClassKey(ext + L"\\shellex\\IconHandler")) return true;
    if (IsFileItself(DefaultValue(ext + L"\\DefaultIcon"))) return true;
    const std::wstring progId = DefaultValue(ext);
    if (progId.empty()) return false;
    return IsFileItself(DefaultValue(progId + L"\\DefaultIcon")) || HasClassKey(progId + L"\\shellex\\IconHandler");
}

ShellItemInfo QueryShellInfoByType(std::wstring_view name, DWORD attributes) {
    const bool folder = attributes & FILE_ATTRIBUTE_DIRECTORY;
    const std::wstring query = folder ? std::wstring(L"folder") : L"file" + std::wstring(Extension(name));
    SHFILEINFOW sfi{};
    if (!SHGetFileInfoW(query.c_str(), folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, &sfi, sizeof sfi,
                        SHGFI_SYSICONINDEX | SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES))
        return {};
    return FromFileInfo(sfi, false);
}

bool ShellInfoCache::AnsweredPerPath(std::wstring_view name, DWORD attributes) {
    return PerPathByExtension(FoldCase(Extension(name)), attributes);
}

bool ShellInfoCache::PerPathByExtension(const std::wstring& ext, DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FolderMayBeCustomised(attributes);
    static constexpr std::array<std::wstring_view, 7> kPerFile = {L"",     L".exe", L".ico", L".lnk",
                                                                  L".cur", L".ani", L".url"};
    for (auto e : kPerFile)
        if (ext == e) return true;
    if (auto it = perFile_.find(ext); it != perFile_.end()) return it->second;
    const bool perFile = TypeHasIconPerFile(ext);
    perFile_.emplace(ext, perFile);
    return perFile;
}

void ShellInfoCache::BeginListing(bool keepPathAnswers) {
    perFile_.clear();
    if (keepPathAnswers) {
        previous_ = std::move(current_);
        // Confirmed types stay: a listing again shows no type's answer by type in between.
        std::erase_if(byType_, [](const auto& type) { return !type.second.confirmed; });
    } else {
        previous_.clear();
        byType_.clear();
    }
    current_.clear();
}

void ShellInfoCache::Remember(std::wstring_view path, DWORD attributes, const FILETIME& lastWrite,
                              const ShellItemInfo& info) {
    current_.insert_or_assign(std::wstring(path), PathAnswer{attributes, lastWrite, info});
}

std::optional<ShellItemInfo> ShellInfoCache::ConfirmType(std::wstring_view name, const ShellItemInfo& info) {
    TypeAnswer& type = byType_[FoldCase(Extension(name))];
    type.confirmed = true;
    type.confirmationAsked = true;
    if (type.info.iconIndex == info.iconIndex && type.info.typeName == info.typeName) return std::nullopt;
    return std::exchange(type.info, info);
}

ShellInfoCache::Answer ShellInfoCache::ForEntry(std::wstring_view path, std::wstring_view name, DWORD attributes,
                                                const FILETIME& lastWrite) {
    const bool folder = attributes & FILE_ATTRIBUTE_DIRECTORY;
    std::wstring key = folder ? std::wstring(L"\\") : FoldCase(Extension(name));
    const bool perPath = PerPathByExtension(key, attributes);
    // A listing that keeps no answers of the one before has none of its own yet either: nothing
    // to look up (and no path to hash) for each of its rows.
    if (perPath && !(current_.empty() && previous_.empty())) {
        if (const auto now = current_.find(path); now != current_.end()) return {now->second.info, false, false};
        const auto before = previous_.find(path);
        if (before != previous_.end() && before->second.attributes == attributes &&
            CompareFileTime(&before->second.lastWrite, &lastWrite) == 0) {
            PathAnswer kept = before->second;
            return {current_.insert_or_assign(std::wstring(path), std::move(kept)).first->second.info, false, false};
        }
    }
    auto it = byType_.find(key);
    if (it == byType_.end()) {
        ++shellQueries_;
        // Plain folders are all alike; a type with answers of its own per file needs no confirmation.
        const bool settled = folder || perPath;
        it =
            byType_.emplace(std::move(key), TypeAnswer{QueryShellInfoByType(name, attributes), settled, settled}).first;
    }
    TypeAnswer& type = it->second;
    const bool confirm = !perPath && !type.confirmationAsked;
    type.confirmationAsked = true;
    return {type.info, perPath, confirm};
}

}  // namespace korvex::platform
