#include "EntryOrder.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace korvex {

namespace {

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// Reads 1..maxDigits digits at pos.
std::optional<int> ReadField(std::wstring_view text, std::size_t& pos, std::size_t maxDigits) {
    const std::size_t start = pos;
    int value = 0;
    while (pos < text.size() && IsDigit(text[pos]) && pos - start < maxDigits)
        value = value * 10 + (text[pos++] - L'0');
    if (pos == start) return std::nullopt;
    return value;
}

bool Skip(std::wstring_view text, std::size_t& pos, std::wstring_view what) {
    if (what.empty() || text.substr(pos, what.size()) != what) return false;
    pos += what.size();
    return true;
}

std::wstring Without(std::wstring_view text, std::wstring_view separator) {
    std::wstring out(text);
    if (separator.empty()) return out;
    for (auto pos = out.find(separator); pos != std::wstring::npos; pos = out.find(separator, pos))
        out.erase(pos, separator.size());
    return out;
}

int Sign(double a, double b) {
    return a > b ? 1 : a < b ? -1 : 0;
}

int CompareCodeUnits(std::wstring_view a, std::wstring_view b) {
    const int c = a.compare(b);
    return c > 0 ? 1 : c < 0 ? -1 : 0;
}

TSortKeys MakeSortKeys(const TExplorerEntry& e, const OrderFacts& facts, std::optional<double> column1 = std::nullopt,
                       std::optional<double> column3 = std::nullopt) {
    TSortKeys keys;
    keys.ready = true;
    keys.name = facts.upperCase ? facts.upperCase(e.caption) : e.caption;
    keys.column1 = column1 ? *column1 : ReadSortValue(e.subItems[0], facts);
    keys.column3 = column3 ? *column3 : ReadSortValue(e.subItems[2], facts);
    return keys;
}

int CompareRows(const TExplorerEntry& a, const TSortKeys& ka, const TExplorerEntry& b, const TSortKeys& kb, int column,
                bool reversed) {
    int r;
    const bool folderA = a.IsFolderBySize(), folderB = b.IsFolderBySize();
    if (folderA != folderB) {
        r = folderA ? -1 : 1;
    } else if (column == 0) {
        r = CompareCodeUnits(ka.name, kb.name);
    } else if (column == 1) {
        r = Sign(ka.column1, kb.column1);
    } else if (column == 3) {
        r = Sign(ka.column3, kb.column3);
    } else if (column == 2 || column == 4) {
        r = CompareAsciiNoCase(a.subItems[static_cast<std::size_t>(column - 1)],
                               b.subItems[static_cast<std::size_t>(column - 1)]);
    } else {
        r = 0;
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

std::optional<double> ReadDateTime(std::wstring_view text, DateOrder dateOrder, std::wstring_view dateSeparator,
                                   std::wstring_view timeSeparator) {
    // The fields in their places: the year takes up to four digits, the day and month two.
    std::array<std::optional<int>, 3> fields;  // in the text's order
    const bool yearFirst = dateOrder == DateOrder::yearMonthDay;
    std::size_t pos = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0 && !Skip(text, pos, dateSeparator)) return std::nullopt;
        const bool year = yearFirst ? i == 0 : i == 2;
        fields[i] = ReadField(text, pos, year ? 4 : 2);
        if (!fields[i]) return std::nullopt;
    }
    int year = 0, month = 0, day = 0;
    switch (dateOrder) {
        case DateOrder::dayMonthYear: day = *fields[0], month = *fields[1], year = *fields[2]; break;
        case DateOrder::yearMonthDay: year = *fields[0], month = *fields[1], day = *fields[2]; break;
        case DateOrder::monthDayYear:
        default: month = *fields[0], day = *fields[1], year = *fields[2]; break;
    }
    if (!IsCalendarDate(year, month, day)) return std::nullopt;
    double fraction = 0;
    if (pos < text.size()) {
        if (!Skip(text, pos, L" ")) return std::nullopt;
        const auto hour = ReadField(text, pos, 2);
        if (!hour || !Skip(text, pos, timeSeparator)) return std::nullopt;
        const auto minute = ReadField(text, pos, 2);
        if (!minute || *hour > 23 || *minute > 59 || pos != text.size()) return std::nullopt;
        fraction = (*hour * 60 + *minute) / 1440.0;
    }
    return static_cast<double>(DayNumber(year, month, day)) + fraction;
}

std::optional<double> ModifiedTimeValue(const LocalTime& t) {
    if (!IsCalendarDate(t.year, t.month, t.day) || t.year > 9999 || t.hour < 0 || t.hour > 23 || t.minute < 0 ||
        t.minute > 59)
        return std::nullopt;
    // The text holds the minutes only (and no time at all at midnight, which is the same value).
    return static_cast<double>(DayNumber(t.year, t.month, t.day)) + (t.hour * 60 + t.minute) / 1440.0;
}

double ReadSortValue(std::wstring_view text, const OrderFacts& facts) {
    if (const auto date = ReadDateTime(text, facts.dateOrder, facts.dateSeparator, facts.timeSeparator)) return *date;
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

void PrepareSortKeys(TExplorerEntry& entry, const OrderFacts& facts, std::optional<double> sizeValue,
                     std::optional<double> modifiedValue) {
    entry.sortKeys = MakeSortKeys(entry, facts, sizeValue, modifiedValue);
}

int CompareEntries(const TExplorerEntry& a, const TExplorerEntry& b, int column, bool reversed,
                   const OrderFacts& facts) {
    const TSortKeys ka = a.sortKeys.ready ? a.sortKeys : MakeSortKeys(a, facts);
    const TSortKeys kb = b.sortKeys.ready ? b.sortKeys : MakeSortKeys(b, facts);
    return CompareRows(a, ka, b, kb, column, reversed);
}

namespace {

struct Slot {
    double value;
    const std::wstring* text;
    std::uint32_t index;
    bool folder;
};

// Folders first, then by the cell; reversed negates the whole comparison.
template <typename CellLess>
void SortSlots(std::vector<Slot>& slots, bool reversed, CellLess cellLess) {
    auto less = [&](const Slot& a, const Slot& b) {
        if (a.folder != b.folder) return a.folder;
        return cellLess(a, b);
    };
    if (reversed)
        std::stable_sort(slots.begin(), slots.end(), [&](const Slot& a, const Slot& b) { return less(b, a); });
    else
        std::stable_sort(slots.begin(), slots.end(), less);
}

}  // namespace

void SortView(const std::vector<TExplorerEntry>& rows, std::vector<std::uint32_t>& order, int column, bool reversed,
              const OrderFacts& facts) {
    // One small slot per row, so that the sort moves little and compares without looking
    // elsewhere. Each row's keys are worked out at most once: rows made by the listing bring theirs.
    std::vector<TSortKeys> computed;
    std::vector<Slot> slots;
    slots.reserve(order.size());
    for (const std::uint32_t i : order) {
        const TExplorerEntry& e = rows[i];
        const TSortKeys* keys = &e.sortKeys;
        if (!keys->ready) {
            if (computed.empty()) computed.reserve(rows.size());
            keys = &computed.emplace_back(MakeSortKeys(e, facts));
        }
        Slot slot{0, nullptr, i, e.IsFolderBySize()};
        if (column == 0)
            slot.text = &keys->name;
        else if (column == 1)
            slot.value = keys->column1;
        else if (column == 3)
            slot.value = keys->column3;
        else if (column == 2 || column == 4)
            slot.text = &e.subItems[static_cast<std::size_t>(column - 1)];
        slots.push_back(slot);
    }
    if (column == 1 || column == 3)
        SortSlots(slots, reversed, [](const Slot& a, const Slot& b) { return a.value < b.value; });
    else if (column == 0)
        SortSlots(slots, reversed, [](const Slot& a, const Slot& b) { return *a.text < *b.text; });
    else if (column == 2 || column == 4)
        SortSlots(slots, reversed,
                  [](const Slot& a, const Slot& b) { return CompareAsciiNoCase(*a.text, *b.text) < 0; });
    else
        SortSlots(slots, reversed, [](const Slot&, const Slot&) { return false; });
    for (std::size_t i = 0; i < slots.size(); ++i) order[i] = slots[i].index;
}

std::vector<std::size_t> SortOrder(const std::vector<TExplorerEntry>& entries, int column, bool reversed,
                                   const OrderFacts& facts) {
    std::vector<std::uint32_t> view(entries.size());
    std::iota(view.begin(), view.end(), std::uint32_t{0});
    SortView(entries, view, column, reversed, facts);
    return std::vector<std::size_t>(view.begin(), view.end());
}

}  // namespace korvex
