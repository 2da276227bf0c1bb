#include "SubjectTemplate.h"

namespace korvex {

namespace {

// Replaces every non-overlapping "%<letter>" (either case) from left to right.
std::wstring ReplacePlaceholder(std::wstring_view text, wchar_t lower, std::wstring_view value) {
    const wchar_t upper = static_cast<wchar_t>(lower - L'a' + L'A');
    std::wstring result;
    result.reserve(text.size() + value.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%' && i + 1 < text.size() && (text[i + 1] == lower || text[i + 1] == upper)) {
            result += value;
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

}  // namespace

std::wstring ExpandSubject(std::wstring_view subjectTemplate, unsigned long long count, unsigned long long position) {
    const std::wstring withCount = ReplacePlaceholder(subjectTemplate, L'n', std::to_wstring(count));
    return ReplacePlaceholder(withCount, L'i', std::to_wstring(position));
}

}  // namespace korvex
