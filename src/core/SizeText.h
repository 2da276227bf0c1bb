#pragma once
// The size text of a send-list entry: bytes, kilobytes or megabytes with up to two decimals.

#include <cstdint>
#include <string>

namespace korvex {

// 1536 -> "1.5 KB" (with '.' as the decimal separator); megabytes are the largest unit, so 5 GiB
// gives "5120 MB". Hundredths are rounded half to even, trailing zeros are dropped.
std::wstring SizeToText(std::uint64_t bytes, wchar_t decimalSeparator);

}  // namespace korvex
