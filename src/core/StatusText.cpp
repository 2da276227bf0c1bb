#include "StatusText.h"

#include <algorithm>
#include <cmath>

namespace korvex {

std::wstring FormatNumberPattern(double value, std::wstring_view pattern, std::wstring_view thousandsSeparator) {
    const std::size_t numberEnd = pattern.find_first_not_of(L"#0,");
    const std::wstring_view number = pattern.substr(0, numberEnd);
    const std::wstring_view rest =
        numberEnd == std::wstring_view::npos ? std::wstring_view{} : pattern.substr(numberEnd);

    // std::round takes halves away from zero.
    const double rounded = std::isfinite(value) ? std::round(value) : 0.0;
    const bool negative = rounded < 0;
    const double magnitude = std::fabs(rounded);
    std::wstring digits =
        magnitude < 1.8e19 ? std::to_wstring(static_cast<std::uint64_t>(magnitude)) : std::to_wstring(magnitude);
    if (const auto dot = digits.find(L'.'); dot != std::wstring::npos) digits.resize(dot);

    // A "0" position left of the value's digits shows "0"; a "#" there shows nothing.
    const std::size_t positions = static_cast<std::size_t>(
        std::count_if(number.begin(), number.end(), [](wchar_t c) { return c == L'#' || c == L'0'; }));
    std::size_t zerosWanted = 0;
    for (std::size_t i = 0, position = positions; i < number.size(); ++i) {
        if (number[i] == L',') continue;
        if (number[i] == L'0' && position > digits.size()) zerosWanted = std::max(zerosWanted, position);
        --position;
    }
    if (zerosWanted > digits.size()) digits.insert(0, zerosWanted - digits.size(), L'0');

    std::wstring text = negative ? L"-" : L"";
    if (number.find(L',') != std::wstring_view::npos) {
        for (std::size_t i = 0; i < digits.size(); ++i) {
            if (i > 0 && (digits.size() - i) % 3 == 0) text += thousandsSeparator;
            text += digits[i];
        }
    } else {
        text += digits;
    }
    text += rest;
    return text;
}

std::wstring StatusCountText(int count, bool anySelected) {
    std::wstring text = std::to_wstring(count) + L" object(s)";
    if (anySelected) text += L" selected";
    return text;
}

std::wstring StatusSelectedSizeText(std::int64_t bytes, std::wstring_view thousandsSeparator) {
    return FormatNumberPattern(static_cast<double>(bytes) / 1024.0, L"#,#0 KB", thousandsSeparator);
}

std::wstring StatusDriveText(std::int64_t totalBytes, std::int64_t freeBytes, std::wstring_view thousandsSeparator) {
    return FormatNumberPattern(static_cast<double>(totalBytes) / 1048576.0, L"#,#0 MB (", thousandsSeparator) +
           FormatNumberPattern(static_cast<double>(freeBytes) / 1048576.0, L"0,# MB free)", thousandsSeparator);
}

}  // namespace korvex
