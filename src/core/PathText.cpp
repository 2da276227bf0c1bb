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
