#include "PathText.h"

#include <algorithm>

namespace korvex {

namespace {
constexpr std::wstring_view kSeparators = L"\\:";
}

std::wstring EnsureBackslash(std::wstring_view text) {
    std::wstring result(text);
    if (result.empty() || result.back() != L'\\') result.push_back(L'\\');
    return result;
}

std::wstring RemoveQuotes(std::wstring_view text) {
    std::wstring result;
    result.reserve(text.size());
    std::copy_if(text.begin(), text.end(), std::back_inserter(result), [](wchar_t c) { return c != L'"'; });
    return result;
}

std::wstring_view ExtractFileName(std::wstring_view path) {
    const auto pos = path.find_last_of(kSeparators);
    return pos == std::wstring_view::npos ? path : path.substr(pos + 1);
}

std::wstring_view ExtractFileDir(std::wstring_view path) {
    const auto pos = path.find_last_of(kSeparators);
    return pos == std::wstring_view::npos ? std::wstring_view{} : path.substr(0, pos + 1);
}

std::wstring ParentFolder(std::wstring_view folder) {
    if (folder.ends_with(L'\\')) folder.remove_suffix(1);
    const auto cut = folder.find_last_of(kSeparators);
    if (cut == std::wstring_view::npos || folder[cut] == L':') return {};
    const std::wstring_view parent = folder.substr(0, cut + 1);
    // "\\server\share\" has nothing above it that can be listed; nor has "\\server\".
    if (parent.starts_with(L"\\\\") && std::count(parent.begin() + 2, parent.end(), L'\\') < 2) return {};
    if (parent == L"\\" || parent == L"\\\\") return {};
    return std::wstring(parent);
}

std::wstring WithoutNamespacePrefix(std::wstring_view path) {
    const auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    const auto upper = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
    if (path.size() < 4 || !separator(path[0]) || !separator(path[1]) || (path[2] != L'?' && path[2] != L'.') ||
        !separator(path[3]))
        return std::wstring(path);
    const std::wstring_view rest = path.substr(4);
    if (rest.size() >= 3 && upper(rest[0]) >= L'A' && upper(rest[0]) <= L'Z' && rest[1] == L':' && separator(rest[2]))
        return std::wstring(rest);
    if (rest.size() >= 4 && upper(rest[0]) == L'U' && upper(rest[1]) == L'N' && upper(rest[2]) == L'C' &&
        separator(rest[3]))
        return L"\\\\" + std::wstring(rest.substr(4));
    return std::wstring(path);
}

std::wstring ChangeFileExt(std::wstring_view path, std::wstring_view newExt) {
    const auto nameStart = path.size() - ExtractFileName(path).size();
    const auto dot = path.find_last_of(L'.');
    std::wstring result(path);
    if (dot != std::wstring_view::npos && dot >= nameStart) result.erase(dot);
    result += newExt;
    return result;
}

bool IsPlainName(std::wstring_view name) {
    if (name.empty() || name == L"." || name == L"..") return false;
    for (const wchar_t c : name)
        if (c < 32 || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos) return false;
    return true;
}

}  // namespace korvex
