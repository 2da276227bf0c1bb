#include "EntryOrder.h"

#include <algorithm>
#include <numeric>

namespace korvex {

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Reads 1..maxDigits digits at pos.
std::optional<int> ReadField(std::wstring_view text, std::size_t& pos, std::size_t maxDigits) {
    const std::size_t start = pos;
    int value = 0;
    while (pos < text.size() && IsDigit(text[pos]) && pos - start < maxDigits) value = value * 10 + (text[pos++] - L'0');
    if (pos == start) return std::nullopt;
    return value;
}

bool Skip(std::wstring_view text, std::size_t& pos, std::wstring_view what) {
    if (what.empty() || text.substr(pos, what.size()) != what) return false;
    pos += what.size();
    return true;
}

// Days from 1 January 1970 in the proleptic Gregorian calendar.
long long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * static_cast<unsigned>(m + (m > 2 ? -3 : 9)) + 2) / 5 + static_cast<unsigned>(d) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

int DaysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : kDays[m - 1];
}

std::wstring Without(std::wstring_view text, std::wstring_view separator) {
    std::wstring out(text);
    if (separator.empty()) return out;
    for (auto pos = out.find(separator); pos != std::wstring::npos; pos = out.find(separator, pos))
        out.erase(pos, separator.size());
    return out;
}

int Sign(double a, double b) { return a > b ? 1 : a < b ? -1 : 0; }

int CompareCodeUnits(std::wstring_view a, std::wstring_view b) {
    const int c = a.compare(b);
    return c > 0 ? 1 : c < 0 ? -1 : 0;
}

// What one row is compared by, for one column.
struct SortKey {
    bool folder = false;
    std::wstring text;  // column 0: upper-cased caption; columns 2 and 4: the cell
    double value = 0;   // columns 1 and 3
};

SortKey MakeKey(const TExplorerEntry& e, int column, const OrderFacts& facts) {
    SortKey key;
    key.folder = e.IsFolderBySize();
    if (column == 0) {
        key.text = facts.upperCase ? facts.upperCase(e.caption) : e.caption;
    } else if (column == 1 || column == 3) {
        key.value = ReadSortValue(e.subItems[static_cast<std::size_t>(column - 1)], facts);
    } else if (column >= 1 && column <= 6) {
        key.text = e.subItems[static_cast<std::size_t>(column - 1)];
    }
    return key;
}

int CompareKeys(const SortKey& a, const SortKey& b, int column, bool reversed) {
    int r;
    if (a.folder != b.folder) {
        r = a.folder ? -1 : 1;
    } else if (column == 0) {
        r = CompareCodeUnits(a.text, b.text);
    } else if (column == 1 || column == 3) {
        r = Sign(a.value, b.value);
    } else {
        r = CompareAsciiNoCase(a.text, b.text);
    }
    return reversed ? -r : r;
}

}  // namespace

std::optional<double> ReadNumber(std::wstring_view text, wchar_t decimalSeparator) {
    while (!text.empty() && text.front() == L' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == L' ') text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    double value = 0, scale = 0;
    bool digits = false;
    for (wchar_t c : text) {
        if (IsDigit(c)) {
            digits = true;
            if (scale == 0) {
                value = value * 10 + (c - L'0');
            } else {
                value += (c - L'0') * scale;
                scale /= 10;
            }
        } else if (c == decimalSeparator && scale == 0) {
            scale = 0.1;
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    return negative ? -value : value;
}

std::optional<double> ReadDateTime(std::wstring_view text, std::wstring_view dateSeparator,
                                   std::wstring_view timeSeparator) {
    std::size_t pos = 0;
    const auto month = ReadField(text, pos, 2);
    if (!month || !Skip(text, pos, dateSeparator)) return std::nullopt;
    const auto day = ReadField(text, pos, 2);
    if (!day || !Skip(text, pos, dateSeparator)) return std::nullopt;
    const auto year = ReadField(text, pos, 4);
    if (!year || *month < 1 || *month > 12 || *day < 1 || *day > DaysInMonth(*year, *month)) return std::nullopt;
    double fraction = 0;
    if (pos < text.size()) {
        if (!Skip(text, pos, L" ")) return std::nullopt;
        const auto hour = ReadField(text, pos, 2);
        if (!hour || !Skip(text, pos, timeSeparator)) return std::nullopt;
        const auto minute = ReadField(text, pos, 2);
        if (!minute || *hour > 23 || *minute > 59 || pos != text.size()) return std::nullopt;
        fraction = (*hour * 60 + *minute) / 1440.0;
    }
    return static_cast<double>(DaysFromCivil(*year, *month, *day)) + fraction;
}

double ReadSortValue(std::wstring_view text, const OrderFacts& facts) {
    if (const auto date = ReadDateTime(text, facts.dateSeparator, facts.timeSeparator)) return *date;
    if (const auto number = ReadNumber(Without(text, facts.thousandsSeparator), facts.decimalSeparator)) return *number;
    return 0;
}

int CompareAsciiNoCase(std::wstring_view a, std::wstring_view b) {
    auto up = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; };
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int d = static_cast<int>(up(a[i])) - static_cast<int>(up(b[i]));
        if (d != 0) return d;
    }
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

int CompareEntries(const TExplorerEntry& a, const TExplorerEntry& b, int column, bool reversed,
                   const OrderFacts& facts) {
    return CompareKeys(MakeKey(a, column, facts), MakeKey(b, column, facts), column, reversed);
}

std::vector<std::size_t> SortOrder(const std::vector<TExplorerEntry>& entries, int column, bool reversed,
                                   const OrderFacts& facts) {
    std::vector<SortKey> keys;
    keys.reserve(entries.size());
    for (const auto& e : entries) keys.push_back(MakeKey(e, column, facts));
    std::vector<std::size_t> order(entries.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        return CompareKeys(keys[x], keys[y], column, reversed) < 0;
    });
    return order;
}

}  // namespace korvex
