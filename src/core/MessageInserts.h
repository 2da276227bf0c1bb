#pragma once
// The inserts of a system message text ("%1 is not a valid application"), filled by the caller,
// since asking the system to fill them reads as many arguments as the text names.

#include <string>
#include <string_view>

namespace korvex {

// What stands for an insert nobody named: the user never sees a raw "%1".
inline constexpr std::wstring_view kUnnamedInsert = L"\u00AB\u2026\u00BB";

// The message text with "%1" (also "%1!s!" with its printf form) replaced by first, or by
// kUnnamedInsert when first is empty, and every other insert ("%2", "%12!lu!") by kUnnamedInsert;
// the escapes are read as the system reads them: "%n" a line break, "%r" a carriage return, "%t"
// a tab, "%b" a blank, "%0" the end of the text, "%%", "%." and "%!" the character itself. Any
// other "%" stays as it is.
std::wstring FillInserts(std::wstring_view text, std::wstring_view first);

}  // namespace korvex
