#pragma once
// One INI file through the system's INI functions: a key at a time, so that every other section
// and key in the file stays as it is.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace korvex::platform {

class IniFile {
public:
    // The first buffer a value is read into; a longer value is read again into a larger one.
    static constexpr DWORD kValueBuffer = 2048;

    explicit IniFile(std::wstring path) : path_(std::move(path)) {}
    const std::wstring& Path() const noexcept { return path_; }

    // The value of key in section, whole, trimmed and unquoted as the system reads it; nothing when
    // the file, the section or the key is missing.
    std::optional<std::wstring> Read(std::wstring_view section, std::wstring_view key) const;

    // Writes key in section; false when the system could not (GetLastError tells why). A file that
    // does not exist yet is first created as UTF-16LE with its byte-order mark, so that the
    // system's INI functions keep any text; an existing file keeps its encoding.
    bool Write(std::wstring_view section, std::wstring_view key, std::wstring_view value) const;

private:
    std::wstring path_;
};

}  // namespace korvex::platform
