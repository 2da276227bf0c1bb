#include "MailCommandParser.h"

#include <cwctype>

namespace korvex {

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// Where the program's own name ends, as a program splits its command line: after the closing
// quote when it starts with one, else at the first blank.
std::size_t ProgramEnd(std::wstring_view line) {
    if (line.starts_with(L'"')) {
        const auto close = line.find(L'"', 1);
        return close == std::wstring_view::npos ? line.size() : close + 1;
    }
    std::size_t i = 0;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    return i;
}

// Finds " /MAIL" (any case) from `from` on, or "/MAIL" at the very start.
std::size_t FindSwitch(std::wstring_view line, std::size_t from) {
    constexpr std::wstring_view kSwitch = L"/MAIL";
    for (std::size_t i = from; i + kSwitch.size() <= line.size(); ++i) {
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
    // A line may also start with the switch itself, with no program's name before it.
    const std::size_t programEnd = FindSwitch(line, 0) == 0 ? 0 : ProgramEnd(line);
    const auto at = FindSwitch(line, programEnd);
    if (at == std::wstring_view::npos) return std::nullopt;
    MailCommand cmd;
    std::wstring_view program = line.substr(0, programEnd);
    if (program.size() >= 2 && program.starts_with(L'"') && program.ends_with(L'"'))
        program = program.substr(1, program.size() - 2);
    cmd.program = std::wstring(program);
    // Words between the program's name and the switch (a path with blanks left unquoted).
    std::size_t strayEnd = at;
    while (strayEnd > programEnd && IsBlank(line[strayEnd - 1])) --strayEnd;
    std::size_t strayStart = programEnd;
    while (strayStart < strayEnd && IsBlank(line[strayStart])) ++strayStart;
    cmd.stray = std::wstring(line.substr(strayStart, strayEnd - strayStart));

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
