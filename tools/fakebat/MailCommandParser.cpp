#include "MailCommandParser.h"

#include <cwctype>

namespace korvex {

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// Finds " /MAIL" (any case) or "/MAIL" at the very start.
std::size_t FindSwitch(std::wstring_view line) {
    constexpr std::wstring_view kSwitch = L"/MAIL";
    for (std::size_t i = 0; i + kSwitch.size() <= line.size(); ++i) {
        if (i > 0 && !IsBlank(line[i - 1])) continue;
        bool match = true;
        for (std::size_t k = 0; k < kSwitch.size() && match; ++k)
            match = static_cast<wchar_t>(std::towupper(line[i + k])) == kSwitch[k];
        if (match) return i;
    }
    return std::wstring_view::npos;
}

}  // namespace

std::optional<MailCommand> ParseMailCommand(std::wstring_view line) {
    const auto at = FindSwitch(line);
    if (at == std::wstring_view::npos) return std::nullopt;
    MailCommand cmd;
    std::size_t programEnd = at;
    while (programEnd > 0 && IsBlank(line[programEnd - 1])) --programEnd;
    cmd.program = std::wstring(line.substr(0, programEnd));

    std::size_t i = at + 5;
    bool more = true;
    while (more && i <= line.size()) {
        // Key: up to "=", ";" or a blank.
        std::size_t keyStart = i;
        while (i < line.size() && line[i] != L'=' && line[i] != L';' && !IsBlank(line[i])) ++i;
        std::wstring key(line.substr(keyStart, i - keyStart));
        std::optional<std::wstring> value;
        if (i < line.size() && line[i] == L'=') {
            ++i;
            std::wstring v;
            if (i < line.size() && (line[i] == L'"' || line[i] == L'\'')) {
                const wchar_t quote = line[i++];
                const auto close = line.find(quote, i);
                if (close == std::wstring_view::npos) return std::nullopt;
                v = std::wstring(line.substr(i, close - i));
                i = close + 1;
            } else {
                const auto start = i;
                while (i < line.size() && line[i] != L';' && !IsBlank(line[i])) ++i;
                v = std::wstring(line.substr(start, i - start));
            }
            value = std::move(v);
        }
        for (auto& c : key) c = static_cast<wchar_t>(std::towupper(c));
        if (value) {
            if (key == L"U")
                cmd.account = *value;
            else if (key == L"TO")
                cmd.to = *value;
            else if (key == L"A")
                cmd.attachments.push_back(*value);
            else if (key == L"S")
                cmd.subject = *value;
            else
                cmd.flags.push_back(std::wstring(line.substr(keyStart, i - keyStart)));
        } else if (!key.empty()) {
            cmd.flags.push_back(std::wstring(line.substr(keyStart, i - keyStart)));
        }
        if (i < line.size() && line[i] == L';') {
            ++i;
        } else {
            more = false;
        }
    }
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i < line.size()) cmd.rest = std::wstring(line.substr(i));
    return cmd;
}

}  // namespace korvex
