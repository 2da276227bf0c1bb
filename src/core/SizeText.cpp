#include "SizeText.h"

#include <cfenv>
#include <cmath>

namespace korvex {

std::wstring SizeToText(std::uint64_t bytes, wchar_t decimalSeparator) {
    double value = static_cast<double>(bytes);
    int unit = 0;
    while (value >= 1024.0 && unit < 2) {
        value /= 1024.0;
        ++unit;
    }
    // Round to hundredths, halves to the even neighbour (the default rounding mode).
    const auto hundredths = static_cast<std::uint64_t>(std::nearbyint(value * 100.0));

    std::wstring text = std::to_wstring(hundredths / 100);
    const auto fraction = static_cast<unsigned>(hundredths % 100);
    if (fraction != 0) {
        text += decimalSeparator;
        text += static_cast<wchar_t>(L'0' + fraction / 10);
        if (fraction % 10 != 0) text += static_cast<wchar_t>(L'0' + fraction % 10);
    }
    static constexpr const wchar_t* kUnits[] = {L" B", L" KB", L" MB"};
    return text + kUnits[unit];
}

}  // namespace korvex
