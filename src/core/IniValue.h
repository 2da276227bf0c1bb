#pragma once
// The value forms of the settings file: integers, the flag, and where the file lives.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex {

// The settings file of an executable: its path with the extension replaced by ".ini" (the text
// after the last "." that follows the last "\" or ":"); a name without one gets ".ini" appended.
std::wstring SettingsPathFor(std::wstring_view exePath);

// A whole number as the settings file holds it, or nothing when the text is not one:
// - decimal: an optional "+" or "-", then one or more digits; the value must fit 32 bits signed;
// - hexadecimal: an optional sign, then "$" or "0x"/"0X" followed by one or more hex digits; up to
//   eight significant digits are taken as the 32-bit pattern ("$FFFFFFFF" is -1), so that a value
//   written as a 32-bit mask reads back. "0x" alone is two characters and so is no number.
// Blanks are not skipped: the system's INI reader has already trimmed the value.
std::optional<std::int32_t> ParseIniInteger(std::wstring_view text);

// ParseIniInteger, or fallback when the text is not a whole number.
std::int32_t IniIntegerOr(std::wstring_view text, std::int32_t fallback);

// The flag: written "1" or "0"; read as an integer where any value but 0 means set, and text
// that is not a whole number keeps fallback.
std::wstring IniFlagText(bool set);
bool IniFlagOr(std::wstring_view text, bool fallback);

// The layout's own text of the mailbox box, which an earlier first start may have stored as if
// it were a mailbox.
inline constexpr std::wstring_view kMailboxPlaceholder = L"ComboAccaunts";

// The mailbox text to start with: the placeholder stands for "none chosen yet" and becomes the
// first listed mailbox (empty when none is listed); any other text is kept as it is.
std::wstring StartingMailbox(std::wstring_view boxText, const std::vector<std::wstring>& listed);

}  // namespace korvex
