#include "IniFile.h"

#include <vector>

#include "UniqueResource.h"

namespace korvex::platform {

namespace {
// The default the system returns for a missing key: control characters around it, which no one
// types into a settings file, so that no stored value equals it. (The system would strip trailing
// blanks of a default, so it ends in none.)
constexpr wchar_t kMissing[] = L"\x01<korvex: no such key>\x01";
}  // namespace

std::optional<std::wstring> IniFile::Read(std::wstring_view section, std::wstring_view key) const {
    std::vector<wchar_t> buffer(kValueBuffer);
    const DWORD length = GetPrivateProfileStringW(std::wstring(section).c_str(), std::wstring(key).c_str(), kMissing,
                                                  buffer.data(), kValueBuffer, path_.c_str());
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
