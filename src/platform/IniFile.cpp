#include "IniFile.h"

#include <vector>

#include "UniqueResource.h"

namespace korvex::platform {

namespace {
// The default the system returns for a missing key: control characters around it, which no one
// types into a settings file, so that no stored value equals it. (The system would strip trailing
// blanks of a default, so it ends in none.)
constexpr wchar_t kMissing[] = L"\x01<korvex: no such key>\x01";
// No settings value is longer than a settings file is sensible: 64 M characters.
constexpr DWORD kLargestValue = 1u << 26;
}  // namespace

std::optional<std::wstring> IniFile::Read(std::wstring_view section, std::wstring_view key) const {
    const std::wstring sectionText(section), keyText(key);
    // The system cuts a value at the buffer's size less one without saying so: a value that fills
    // the buffer is read again into one twice as large, until it fits.
    std::vector<wchar_t> buffer(kValueBuffer);
    DWORD length = 0;
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        length = GetPrivateProfileStringW(sectionText.c_str(), keyText.c_str(), kMissing, buffer.data(), size,
                                          path_.c_str());
        if (length + 1 < size || size >= kLargestValue) break;
        buffer.resize(static_cast<std::size_t>(size) * 2);
    }
    std::wstring value(buffer.data(), length);
    if (value == kMissing) return std::nullopt;
    return value;
}

bool IniFile::Write(std::wstring_view section, std::wstring_view key, std::wstring_view value) const {
    // A new file starts with the UTF-16LE byte-order mark; an existing one (CREATE_NEW fails) is
    // left alone. Where no file can be created, the write below fails and says why.
    {
        const UniqueFile created(
            CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (created) {
            static constexpr unsigned char kMark[] = {0xFF, 0xFE};
            DWORD written = 0;
            WriteFile(created.get(), kMark, sizeof kMark, &written, nullptr);
        }
    }
    return WritePrivateProfileStringW(std::wstring(section).c_str(), std::wstring(key).c_str(),
                                      std::wstring(value).c_str(), path_.c_str()) != FALSE;
}

}  // namespace korvex::platform
