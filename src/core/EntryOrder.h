#pragma once
// The order of the explorer list's rows: folders before files, then by the sort column, every
// comparison negated when the order is reversed.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DateText.h"
#include "ExplorerText.h"
#include "ExplorerTypes.h"

namespace korvex {

// Facts of the user's regional settings that the comparison needs.
struct OrderFacts {
    std::wstring thousandsSeparator = L",";
    DateOrder dateOrder = DateOrder::monthDayYear;
    std::wstring dateSeparator = L"/";
    std::wstring timeSeparator = L":";
    wchar_t decimalSeparator = L'.';
    // Upper case by the user's rules (names are compared so, then code unit by code unit).
    std::function<std::wstring(std::wstring_view)> upperCase;
};

// A number in the locale's form: optional blanks, an optional sign, digits with at most one
// decimal separator.
std::optional<double> ReadNumber(std::wstring_view text, wchar_t decimalSeparator);

// A short date in the given order ("mm/dd/yyyy", "dd.mm.yyyy", "yyyy-mm-dd") with an optional
// " hh:nn" time, with the given separators, as a count of days (the time as its fraction).
std::optional<double> ReadDateTime(std::wstring_view text, DateOrder dateOrder, std::wstring_view dateSeparator,
                                   std::wstring_view timeSeparator);

// The value ReadDateTime gives the text ModifiedTimeText writes for this time, worked out from the
// fields themselves, so in any order; none for fields that name no date.
std::optional<double> ModifiedTimeValue(const LocalTime& time);

// The value of a "Size" or "Modified" cell: a date as the list writes it, else a number once the
// thousands separators are removed, else 0. Reading the date first keeps dates apart from numbers
// where the thousands and the date separator are the same character.
double ReadSortValue(std::wstring_view text, const OrderFacts& facts);

// Three-way comparison that folds only ASCII letters a..z to upper case.
int CompareAsciiNoCase(std::wstring_view a, std::wstring_view b);

// Works out the row's sort keys from its texts; call it once the row's texts are set. sizeValue
// and modifiedValue, when the caller has them, are the values of the "Size" and "Modified" cells,
// which are then not read back from their texts (a listing knows each file's size as a number, a
// folder's is 0, and the time it wrote as fields: ModifiedTimeValue).
void PrepareSortKeys(TExplorerEntry& entry, const OrderFacts& facts, std::optional<double> sizeValue = std::nullopt,
                     std::optional<double> modifiedValue = std::nullopt);

// The comparison of two rows for a sort by column (0 to 4); negative puts a first.
int CompareEntries(const TExplorerEntry& a, const TExplorerEntry& b, int column, bool reversed,
                   const OrderFacts& facts);

// The positions of the rows in the order of a sort by column: each row's key is computed once,
// and rows that compare equal keep their order.
std::vector<std::size_t> SortOrder(const std::vector<TExplorerEntry>& entries, int column, bool reversed,
                                   const OrderFacts& facts);

// Sorts a view of the rows: order lists row positions (display order), and is put into the order
// of a sort by column; rows that compare equal keep their places relative to each other.
void SortView(const std::vector<TExplorerEntry>& rows, std::vector<std::uint32_t>& order, int column, bool reversed,
              const OrderFacts& facts);

}  // namespace korvex
