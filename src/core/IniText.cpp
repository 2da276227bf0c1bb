#include "IniText.h"

#include <cstddef>

namespace korvex {

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r';
}

std::wstring_view Trimmed(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

wchar_t FoldAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool SameName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

// One line of the text: where it starts, its content, and the end of its line ending.
struct Line {
    std::size_t begin = 0;
    std::size_t contentEnd = 0;  // before "\r\n" or "\n"
    std::size_t end = 0;         // after it
};

std::vector<Line> LinesOf(std::wstring_view text) {
    std::vector<Line> lines;
    for (std::size_t begin = 0; begin < text.size();) {
        std::size_t newline = text.find(L'\n', begin);
        const std::size_t end = newline == std::wstring_view::npos ? text.size() : newline + 1;
        std::size_t contentEnd = newline == std::wstring_view::npos ? text.size() : newline;
        if (contentEnd > begin && text[contentEnd - 1] == L'\r') --contentEnd;
        lines.push_back({begin, contentEnd, end});
        begin = end;
    }
    return lines;
}

// The section's name when the line begins one.
bool SectionName(std::wstring_view line, std::wstring_view& name) {
    const std::wstring_view content = Trimmed(line);
    if (content.empty() || content.front() != L'[') return false;
    const std::size_t close = content.rfind(L']');
    if (close == std::wstring_view::npos) return false;
    name = Trimmed(content.substr(1, close - 1));
    return true;
}

std::wstring OneLine(std::wstring_view value) {
    std::wstring text(value);
    for (wchar_t& c : text)
        if (c == L'\r' || c == L'\n') c = L' ';
    return text;
}

}  // namespace

std::wstring WithIniValues(std::wstring_view text, std::wstring_view section, const IniValues& values) {
    const std::vector<Line> lines = LinesOf(text);
    // The section's lines: [first, last) after its header; its keys' lines by name.
    std::size_t header = lines.size(), last = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::wstring_view name;
        if (!SectionName(text.substr(lines[i].begin, lines[i].contentEnd - lines[i].begin), name)) continue;
        if (header != lines.size()) {
            last = i;
            break;
        }
        if (SameName(name, section)) header = i;
    }

    std::vector<std::size_t> keyLine(values.size(), lines.size());
    std::size_t lastFilled = header;  // the section's last non-empty line
    if (header != lines.size()) {
        for (std::size_t i = header + 1; i < last; ++i) {
            const std::wstring_view content = text.substr(lines[i].begin, lines[i].contentEnd - lines[i].begin);
            if (Trimmed(content).empty()) continue;
            lastFilled = i;
            const std::wstring_view name = Trimmed(content.substr(0, content.find(L'=')));
            for (std::size_t k = 0; k < values.size(); ++k)
                if (keyLine[k] == lines.size() && SameName(name, values[k].first)) keyLine[k] = i;
        }
    }

    std::wstring added;  // the lines of the keys that are not there yet
    for (std::size_t k = 0; k < values.size(); ++k)
        if (keyLine[k] == lines.size())
            added.append(values[k].first).append(L"=").append(OneLine(values[k].second)).append(L"\r\n");

    std::wstring result;
    result.reserve(text.size() + added.size() + 64);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        const std::wstring_view content = text.substr(line.begin, line.contentEnd - line.begin);
        std::size_t k = 0;
        while (k < values.size() && keyLine[k] != i) ++k;
        if (k < values.size()) {
            const std::size_t equals = content.find(L'=');
            result.append(content.substr(0, equals));
            result.append(L"=").append(OneLine(values[k].second));
        } else {
            result.append(content);
        }
        // The file's own line ending; the last line gets one when something follows it.
        const std::wstring_view ending = text.substr(line.contentEnd, line.end - line.contentEnd);
        if (!ending.empty())
            result.append(ending);
        else if (i == lastFilled && !added.empty())
            result.append(L"\r\n");
        if (i == lastFilled && header != lines.size()) result.append(added);
    }
    if (header == lines.size()) {
        if (!result.empty() && result.back() != L'\n') result.append(L"\r\n");
        result.append(L"[").append(section).append(L"]\r\n").append(added);
    }
    return result;
}

}  // namespace korvex
