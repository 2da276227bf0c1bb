#include "AddressBook.h"

#include "PathText.h"
#include "Utf8.h"

namespace korvex {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// UTF-16 code units as they stand, two bytes each; an odd last byte is no unit and is left out.
std::wstring DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::wstring text(bytes.size() / 2, L'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return text;
}

std::wstring DecodeText(std::string_view bytes, const AnsiDecoder& ansi) {
    if (bytes.starts_with(kUtf16LeBom)) return DecodeUtf16(bytes.substr(kUtf16LeBom.size()), false);
    if (bytes.starts_with(kUtf16BeBom)) return DecodeUtf16(bytes.substr(kUtf16BeBom.size()), true);
    if (bytes.starts_with(kUtf8Bom)) {
        bytes.remove_prefix(kUtf8Bom.size());
        if (auto text = DecodeUtf8(bytes)) return *std::move(text);
        return ansi(bytes);
    }
    if (auto text = DecodeUtf8(bytes)) return *std::move(text);
    return ansi(bytes);
}

}  // namespace

std::vector<std::wstring> DecodeAddressBook(std::string_view bytes, const AnsiDecoder& ansi) {
    const std::wstring text = DecodeText(bytes, ansi);
    std::vector<std::wstring> entries;
    std::wstring line;
    bool lineStarted = false;  // something (even a dropped CR) was read since the last line end
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (!lineStarted && line.empty() && c == L'\x1A') return entries;  // end-of-file mark
        if (c == L'\n') {
            entries.push_back(RemoveQuotes(line));
            line.clear();
            lineStarted = false;
            continue;
        }
        lineStarted = true;
        if (c == L'\r') continue;  // CR LF ends the line at the LF; a lone CR is dropped
        line += c;
    }
    if (lineStarted) entries.push_back(RemoveQuotes(line));
    return entries;
}

}  // namespace korvex
