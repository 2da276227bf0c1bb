#pragma once
// The names the copies of the stand-in client share per log: the same for every spelling of the
// log's path that differs only in letter case.

#include <cstdint>
#include <cwctype>
#include <string>
#include <string_view>

namespace korvex {

inline std::uint64_t FakeBatLogHash(std::wstring_view logPath) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const wchar_t c : logPath) {
        hash ^= static_cast<std::uint16_t>(std::towlower(static_cast<wint_t>(c)));
        hash *= 1099511628211ull;
    }
    return hash;
}

inline std::wstring FakeBatLogMutexName(std::wstring_view logPath) {
    return L"Local\\korvex-fakebat-log-" + std::to_wstring(FakeBatLogHash(logPath));
}

// Single-instance mode: the mutex whose creator is the running client, and the title of the
// client's hidden window that later starts hand their commands to. One client per log.
inline std::wstring FakeBatClientMutexName(std::wstring_view logPath) {
    return L"Local\\korvex-fakebat-client-" + std::to_wstring(FakeBatLogHash(logPath));
}
inline std::wstring FakeBatClientTitle(std::wstring_view logPath) {
    return L"korvex-fakebat-client-" + std::to_wstring(FakeBatLogHash(logPath));
}
inline constexpr wchar_t kFakeBatClientClass[] = L"KorvexFakeBatClient";

}  // namespace korvex
