#pragma once
// The name of the mutex under which copies of the stand-in client append to one log: the same
// for every spelling of the log's path that differs only in letter case.

#include <cstdint>
#include <cwctype>
#include <string>
#include <string_view>

namespace korvex {

inline std::wstring FakeBatLogMutexName(std::wstring_view logPath) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const wchar_t c : logPath) {
        hash ^= static_cast<std::uint16_t>(std::towlower(static_cast<wint_t>(c)));
        hash *= 1099511628211ull;
    }
    return L"Local\\korvex-fakebat-log-" + std::to_wstring(hash);
}

}  // namespace korvex
