#include "SendToShortcut.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "AppError.h"
#include "ComPtr.h"
#include "Locale.h"
#include "PathText.h"
#include "UniqueResource.h"
#include "Win32Error.h"

namespace korvex::platform {

namespace {

ComPtr<IShellLinkW> NewShellLink() {
    ComPtr<IShellLinkW> link;
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void());
    return link;
}

void Check(HRESULT hr, const wchar_t* what, const std::wstring& path) {
    if (FAILED(hr)) throw AppError(std::wstring(what) + L" " + path + L": " + SystemMessage(static_cast<DWORD>(hr)));
}

}  // namespace

std::wstring SendToFolder() {
    UniqueCoTaskMem<wchar_t> folder;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_SendTo, KF_FLAG_CREATE, nullptr, folder.put())) || !folder) return {};
    return folder.get();
}

std::optional<ShortcutInfo> ReadShortcut(const std::wstring& linkPath) {
    if (GetFileAttributesW(linkPath.c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    const ComPtr<IShellLinkW> link = NewShellLink();
    const ComPtr<IPersistFile> file = link.As<IPersistFile>();
    if (!file || FAILED(file->Load(linkPath.c_str(), STGM_READ))) return std::nullopt;
    // A shortcut's texts are bounded by the link format; a path may be a long one.
    std::wstring buffer(32768, L'\0');
    auto text = [&buffer](HRESULT hr) { return SUCCEEDED(hr) ? std::wstring(buffer.c_str()) : std::wstring(); };
    const int size = static_cast<int>(buffer.size());
    ShortcutInfo info;
    info.target = text(link->GetPath(buffer.data(), size, nullptr, SLGP_RAWPATH));
    info.arguments = text(link->GetArguments(buffer.data(), size));
    info.workingDirectory = text(link->GetWorkingDirectory(buffer.data(), size));
    info.description = text(link->GetDescription(buffer.data(), size));
    return info;
}

bool IsShortcutTo(const std::wstring& linkPath, std::wstring_view exePath) {
    const auto info = ReadShortcut(linkPath);
    return info && FoldCase(info->target) == FoldCase(exePath);
}

void WriteShortcut(const std::wstring& linkPath, const std::wstring& exePath, const std::wstring& description) {
    const ComPtr<IShellLinkW> link = NewShellLink();
    if (!link) throw AppError(L"Не удалось создать ярлык " + linkPath);
    std::wstring folder(ExtractFileDir(exePath));
    // The folder itself, not the text of its root: "C:\" stays, "C:\Tools\" loses its backslash.
    if (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    Check(link->SetPath(exePath.c_str()), L"Не удалось создать ярлык", linkPath);
    Check(link->SetWorkingDirectory(folder.c_str()), L"Не удалось создать ярлык", linkPath);
    Check(link->SetDescription(description.c_str()), L"Не удалось создать ярлык", linkPath);
    const ComPtr<IPersistFile> file = link.As<IPersistFile>();
    if (!file) throw AppError(L"Не удалось создать ярлык " + linkPath);
    Check(file->Save(linkPath.c_str(), TRUE), L"Не удалось записать ярлык", linkPath);
}

void RemoveShortcut(const std::wstring& linkPath) {
    if (DeleteFileW(linkPath.c_str())) return;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return;
    throw Win32Error(error, L"Не удалось удалить ярлык " + linkPath);
}

}  // namespace korvex::platform
