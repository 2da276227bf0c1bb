#include "CommandLinePaths.h"

namespace korvex {

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view s) {
    std::vector<std::wstring> args;
    const std::size_t n = s.size();
    std::size_t i = 0;

    // The program's name takes no escapes: a quoted name ends at the next quote, whatever precedes it.
    std::wstring program;
    if (n > 0 && s[0] == L'"') {
        for (i = 1; i < n; ++i) {
            if (s[i] == L'"') {
                ++i;
                break;
            }
            program += s[i];
        }
    } else {
        while (i < n && !IsBlank(s[i])) program += s[i++];
    }
    args.push_back(std::move(program));
    while (i < n && IsBlank(s[i])) ++i;
    if (i >= n) return args;

    std::wstring current;
    int quotes = 0;               // 1 inside a quoted part
    std::size_t backslashes = 0;  // the run of backslashes just copied
    while (i < n) {
        const wchar_t c = s[i];
        if (IsBlank(c) && quotes == 0) {
            args.push_back(std::move(current));
            current.clear();
            backslashes = 0;
            while (i < n && IsBlank(s[i])) ++i;
            if (i >= n) return args;  // trailing blanks start no argument
            continue;
        }
        ++i;
        if (c == L'\\') {
            current += c;
            ++backslashes;
            continue;
        }
        if (c != L'"') {
            current += c;
            backslashes = 0;
            continue;
        }
        if (backslashes % 2 == 0) {
            current.resize(current.size() - backslashes / 2);
            ++quotes;
        } else {
            current.resize(current.size() - backslashes / 2 - 1);
            current += L'"';
        }
        backslashes = 0;
        for (; i < n && s[i] == L'"'; ++i) {
            if (++quotes == 3) {
                current += L'"';
                quotes = 0;
            }
        }
        if (quotes == 2) quotes = 0;
    }
    args.push_back(std::move(current));
    return args;
}

std::vector<std::wstring> CommandLinePaths(std::wstring_view commandLine) {
    std::vector<std::wstring> args = SplitCommandLine(commandLine);
    std::vector<std::wstring> paths;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::wstring& path = args[i];
        if (!path.empty() && path.back() == L'"') path.back() = L'\\';
        if (!path.empty()) paths.push_back(std::move(path));
    }
    return paths;
}

bool IsFullPath(std::wstring_view path) {
    if (path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/')) {
        const wchar_t d = path[0];
        return (d >= L'A' && d <= L'Z') || (d >= L'a' && d <= L'z');
    }
    return path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\';
}

std::wstring JoinPathBlock(const std::vector<std::wstring>& paths) {
    std::wstring block;
    for (const std::wstring& path : paths) {
        block += path;
        block += L'\0';
    }
    block += L'\0';
    return block;
}

std::optional<std::vector<std::wstring>> SplitPathBlock(std::wstring_view block) {
    if (block.empty() || block.size() > kMaxBlockLength || block.back() != L'\0') return std::nullopt;
    block.remove_suffix(1);  // the block's own end
    std::vector<std::wstring> paths;
    while (!block.empty()) {
        const std::size_t end = block.find(L'\0');
        if (end == std::wstring_view::npos || paths.size() == kMaxBlockPaths) return std::nullopt;
        const std::wstring_view path = block.substr(0, end);
        if (path.size() > kMaxPathLength || !IsFullPath(path)) return std::nullopt;
        paths.emplace_back(path);
        block.remove_prefix(end + 1);
    }
    return paths;
}

}  // namespace korvex
