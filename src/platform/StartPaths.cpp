#include "StartPaths.h"

#include <windows.h>

#include "CommandLinePaths.h"

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
    for (std::wstring& path : paths) path = FullPathOf(path);
    return paths;
}

}  // namespace korvex::platform
