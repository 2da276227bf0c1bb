#include "IniFile.h"

#include <utility>
#include <vector>

#include "FileSystem.h"
#include "JournalFile.h"
#include "UniqueResource.h"
#include "Utf8.h"
#include "Win32Error.h"

namespace korvex::platform {

namespace {
// The default the system returns for a missing key: control characters around it, which no one
// types into a settings file, so that no stored value equals it. (The system would strip trailing
// blanks of a default, so it ends in none.)
constexpr wchar_t kMissing[] = L"\x01<korvex: no such key>\x01";
// No settings value is longer than a settings file is sensible: 64 M characters.
constexpr DWORD kLargestValue = 1u << 26;

// The encodings the system's INI functions tell by a file's first bytes, and keep when they write.
enum class Encoding { Ansi, Utf16Le, Utf16Be, Utf8 };

constexpr std::string_view kUtf16LeMark = "\xFF\xFE", kUtf16BeMark = "\xFE\xFF", kUtf8Mark = "\xEF\xBB\xBF";

Encoding EncodingOf(std::string_view bytes) {
    if (bytes.empty() || bytes.starts_with(kUtf16LeMark)) return Encoding::Utf16Le;
    if (bytes.starts_with(kUtf16BeMark)) return Encoding::Utf16Be;
    if (bytes.starts_with(kUtf8Mark) && DecodeUtf8(bytes.substr(kUtf8Mark.size()))) return Encoding::Utf8;
    return Encoding::Ansi;
}

std::wstring Utf16Text(std::string_view bytes, bool bigEndian) {
    std::wstring text(bytes.size() / 2, L'\0');  // a last odd byte is no character
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]),
                   second = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = static_cast<wchar_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
    }
    return text;
}

std::string Utf16Bytes(std::wstring_view text, bool bigEndian) {
    std::string bytes(bigEndian ? kUtf16BeMark : kUtf16LeMark);
    bytes.reserve(bytes.size() + text.size() * 2);
    for (const wchar_t c : text) {
        const auto low = static_cast<char>(c & 0xFF), high = static_cast<char>((c >> 8) & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

std::wstring AnsiText(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

// As the system writes an ANSI file: a character the code page lacks becomes its default one.
std::string AnsiBytes(std::wstring_view text) {
    if (text.empty()) return {};
    const int length =
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr, nullptr);
    return bytes;
}

std::wstring TextOf(std::string_view bytes, Encoding encoding) {
    switch (encoding) {
        case Encoding::Utf16Le: return Utf16Text(bytes.substr(bytes.empty() ? 0 : kUtf16LeMark.size()), false);
        case Encoding::Utf16Be: return Utf16Text(bytes.substr(kUtf16BeMark.size()), true);
        case Encoding::Utf8: return DecodeUtf8(bytes.substr(kUtf8Mark.size())).value_or(std::wstring());
        case Encoding::Ansi: break;
    }
    return AnsiText(bytes);
}

std::string BytesOf(std::wstring_view text, Encoding encoding) {
    switch (encoding) {
        case Encoding::Utf16Le: return Utf16Bytes(text, false);
        case Encoding::Utf16Be: return Utf16Bytes(text, true);
        case Encoding::Utf8: return std::string(kUtf8Mark) + EncodeUtf8(text);
        case Encoding::Ansi: break;
    }
    return AnsiBytes(text);
}

}  // namespace

IniFile::IniFile(std::wstring path, FileReplacer replace) : path_(std::move(path)), replace_(std::move(replace)) {
    if (!replace_) replace_ = &ReplaceFileAtomically;
}

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

DWORD IniFile::Write(std::wstring_view section, const IniValues& values) const {
    // The whole file is read first, so that what other programs (or later versions) keep in it
    // goes into the new one. Only a file that is not there starts empty: one that cannot be read
    // is not replaced by a file without its content.
    std::string bytes;
    try {
        bytes = ReadFileBytes(path_);
    } catch (const Win32Error& e) {
        if (e.Code() != ERROR_FILE_NOT_FOUND) return e.Code();
    }
    const Encoding encoding = EncodingOf(bytes);
    return replace_(path_, BytesOf(WithIniValues(TextOf(bytes, encoding), section, values), encoding));
}

}  // namespace korvex::platform
