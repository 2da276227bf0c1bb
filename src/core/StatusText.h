#pragma once
// The explorer frame's status line: the count of entries and the sizes, as number patterns.

#include <cstdint>
#include <string>
#include <string_view>

namespace korvex {

// Formats value with a digit pattern such as "#,#0 KB": the leading run of "#", "0" and "," is
// the number, the rest is copied after it as it stands. The value is rounded to a whole number,
// halves away from zero; all its digits are shown (at least one, "0" for zero), and each "0"
// position beyond them adds a leading "0" ("#" positions add nothing). A "," anywhere in the
// number part groups the digits in thousands with thousandsSeparator.
std::wstring FormatNumberPattern(double value, std::wstring_view pattern, std::wstring_view thousandsSeparator);

// "12 object(s)", or "3 object(s) selected" when entries are selected.
std::wstring StatusCountText(int count, bool anySelected);

// The selected files' size in kilobytes: "2 KB" for 1536 bytes.
std::wstring StatusSelectedSizeText(std::int64_t bytes, std::wstring_view thousandsSeparator);

// The drive's size and free space in megabytes: "38,147 MB (05 MB free)".
std::wstring StatusDriveText(std::int64_t totalBytes, std::int64_t freeBytes, std::wstring_view thousandsSeparator);

}  // namespace korvex
