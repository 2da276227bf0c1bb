#include "FileSystem.h"

#include <vector>

#include "PathText.h"
#include "UniqueResource.h"
#include "Win32Error.h"

namespace korvex::platform {

namespace {

constexpr std::wstring_view kVerbatimPrefix = L"\\\\?\\";

bool IsAbsoluteDrivePath(std::wstring_view p) {
    return p.size() >= 3 && p[1] == L':' && (p[2] == L'\\' || p[2] == L'/');
}

std::wstring FullPathName(std::wstring_view path) {
    const std::wstring in(path);
    DWORD size = GetFullPathNameW(in.c_str(), 0, nullptr, nullptr);
    if (size == 0) return in;
    std::wstring out(size, L'\0');
    size = GetFullPathNameW(in.c_str(), size, out.data(), nullptr);
    out.resize(size);
    return out;
}

}  // namespace

std::wstring ToApiPath(std::wstring_view path) {
    if (path.size() < MAX_PATH - 12 || path.starts_with(kVerbatimPrefix)) return std::wstring(path);
    if (IsAbsoluteDrivePath(path)) return std::wstring(kVerbatimPrefix) + FullPathName(path);
    if (path.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + FullPathName(path).substr(2);
    return std::wstring(path);
}

std::wstring CanonicalPath(std::wstring_view path) {
    // "\\?\" takes the rest literally, so it goes before the rest is made full; "\\.\" does not (its
    // ".." may climb above the drive), so it goes after, which also finds it spelled with "/".
    // What stays in the device namespace is left as the system gave it.
    const std::wstring given = path.starts_with(kVerbatimPrefix) ? WithoutNamespacePrefix(path) : std::wstring(path);
    const std::wstring full = WithoutNamespacePrefix(FullPathName(given));
    // A short 8.3 name always holds a "~"; only then is the disk asked for the long names, and a
    // path that is not there keeps its names as given.
    if (full.find(L'~') == std::wstring::npos) return full;
    const std::wstring apiPath = ToApiPath(full);
    DWORD size = GetLongPathNameW(apiPath.c_str(), nullptr, 0);
    if (size == 0) return full;
    std::wstring longPath(size, L'\0');
    size = GetLongPathNameW(apiPath.c_str(), longPath.data(), size);
    if (size == 0 || size >= longPath.size()) return full;
    longPath.resize(size);
    return WithoutNamespacePrefix(longPath);
}

bool FollowWithCurrentDirectory(std::wstring_view folder) {
    const std::wstring text = EnsureBackslash(folder);
    if (text.size() > kLongestCurrentDirectory) return false;
    return SetCurrentDirectoryW(text.c_str()) != FALSE;
}

DWORD FileAttributes(std::wstring_view path) {
    return GetFileAttributesW(ToApiPath(path).c_str());
}

std::uint64_t ProbeFileSize(std::wstring_view path) {
    WIN32_FIND_DATAW data;
    UniqueFind find(
        FindFirstFileExW(ToApiPath(path).c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
    return find ? FindDataSize(data) : 0;
}

bool EnumerateDirectory(std::wstring_view pattern, const std::function<void(const WIN32_FIND_DATAW&)>& onEntry) {
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileExW(ToApiPath(pattern).c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return false;
    do {
        onEntry(data);
    } while (FindNextFileW(find.get(), &data));
    return true;
}

std::string ReadFileBytes(std::wstring_view path) {
    const std::wstring apiPath = ToApiPath(path);
    UniqueFile file(CreateFileW(apiPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw Win32Error(GetLastError(), path);
    std::string bytes;
    char buffer[64 * 1024];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) throw Win32Error(GetLastError(), path);
        if (read == 0) break;
        bytes.append(buffer, read);
    }
    return bytes;
}

std::wstring ModuleFileName() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size()) return std::wstring(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace korvex::platform
