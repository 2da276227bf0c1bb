#include "StartPaths.h"

#include <windows.h>

#include "CommandLinePaths.h"
#include "DevicePath.h"

namespace korvex::platform {

namespace {

std::wstring FullPathOf(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (n == 0) return path;
        if (n < full.size()) {
            full.resize(n);
            return full;
        }
        full.resize(n);  // n counts the terminator when the buffer was too small
    }
    return path;
}

}  // namespace

std::vector<std::wstring> StartPaths(std::wstring_view commandLine) {
    std::vector<std::wstring> paths = CommandLinePaths(commandLine);
    // A device's path is kept as given: made full, "C:\Чертежи\CON" would be named to the user as
    // "\\.\CON", a path nobody gave.
    for (std::wstring& path : paths)
        if (!IsDevicePath(path)) path = FullPathOf(path);
    return paths;
}

}  // namespace korvex::platform
