#pragma once
// Tests that change the machine (the mail client's own registry key, file types for every user)
// run only inside the build's own Wine prefix, which scripts/wine-env.sh marks with a random token
// kept twice: in the file "$WINEPREFIX/.korvex-test-prefix" and in HKCU\Software\KorvexTests,
// value Prefix. On a workstation (Windows, or a Wine prefix of the user's) neither is there and
// the tests refuse.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "UniqueResource.h"

namespace korvex::test {

namespace prefix_detail {

inline std::wstring Trimmed(std::string bytes) {
    while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r' || bytes.back() == ' ')) bytes.pop_back();
    return std::wstring(bytes.begin(), bytes.end());  // the token is hex digits
}

// The Unix path as this process reaches it: through Wine's own mapping where there is one, else
// through the Z: drive that a Wine prefix maps to "/".
inline std::wstring DosPathOf(const std::wstring& unixPath) {
    using ToDos = wchar_t* (*)(const char*);
    // Through a function type without parameters, which every function pointer may be cast to.
    const auto toDos = reinterpret_cast<ToDos>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    const std::string narrow(unixPath.begin(), unixPath.end());
    if (toDos) {
        if (wchar_t* dos = toDos(narrow.c_str())) {
            std::wstring result = dos;
            HeapFree(GetProcessHeap(), 0, dos);
            return result;
        }
    }
    std::wstring path = L"Z:" + unixPath;
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

}  // namespace prefix_detail

// Nothing when this process runs in the marked prefix; otherwise why it does not, beginning with
// "refusing to run: " and what the test would change.
inline std::optional<std::wstring> NotInOwnTestPrefix(
    std::wstring_view change = L"these tests delete HKCU\\Software\\RIT\\The Bat!") {
    using namespace prefix_detail;
    const std::wstring refusal = L"refusing to run: " + std::wstring(change) +
                                 L", and this is not the build's own Wine prefix (create it with scripts/wine-env.sh "
                                 L"korvex_wine_prefix): ";
    wchar_t prefix[4096] = {};
    const DWORD n = GetEnvironmentVariableW(L"WINEPREFIX", prefix, 4096);
    if (n == 0 || n >= 4096) return refusal + L"WINEPREFIX is not set";
    const std::wstring markerPath = DosPathOf(std::wstring(prefix, n) + L"/.korvex-test-prefix");
    const platform::UniqueFile file(CreateFileW(markerPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return refusal + L"no marker file " + markerPath;
    char bytes[256] = {};
    DWORD read = 0;
    ReadFile(file.get(), bytes, sizeof bytes - 1, &read, nullptr);
    const std::wstring token = Trimmed(std::string(bytes, read));

    wchar_t stored[256] = {};
    DWORD size = sizeof stored - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\KorvexTests", L"Prefix", RRF_RT_REG_SZ, nullptr, stored, &size) !=
        ERROR_SUCCESS)
        return refusal + L"no value HKCU\\Software\\KorvexTests\\Prefix";
    if (token.empty() || token != stored) return refusal + L"the marker file and the registry value differ";
    return std::nullopt;
}

}  // namespace korvex::test
