#pragma once
// One INI file: read a key at a time through the system's INI functions; written a section's keys
// at a time as a whole new file put in place at once, so that a write that fails half-way (a
// full disk) leaves the file as it was, and every other section and key in it stays as it is.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "IniText.h"

namespace korvex::platform {

// Puts bytes in place as the whole content of the file at path: 0 or the system's error code.
using FileReplacer = std::function<DWORD(std::wstring_view path, std::string_view bytes)>;

class IniFile {
public:
    // The first buffer a value is read into; a longer value is read again into a larger one.
    static constexpr DWORD kValueBuffer = 2048;

    // replace empty: the file is written to a temporary file beside it, flushed, and moved over it.
    explicit IniFile(std::wstring path, FileReplacer replace = {});
    const std::wstring& Path() const noexcept { return path_; }

    // The value of key in section, whole, trimmed and unquoted as the system reads it; nothing when
    // the file, the section or the key is missing.
    std::optional<std::wstring> Read(std::wstring_view section, std::wstring_view key) const;

    // Sets the keys of section (see WithIniValues) and puts the file in place whole: 0, or the
    // system's error code, and then the file is as it was. A file that is new (or empty) becomes
    // UTF-16LE with its byte-order mark, so that any text is kept; an existing one keeps its
    // encoding (the ANSI code page, UTF-16 or UTF-8 with their marks), as the system's INI
    // functions keep it.
    DWORD Write(std::wstring_view section, const IniValues& values) const;

private:
    std::wstring path_;
    FileReplacer replace_;
};

}  // namespace korvex::platform
