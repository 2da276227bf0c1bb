#pragma once
// The texts of the explorer list's cells and the filter of its listing.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DateText.h"
#include "ExplorerTypes.h"

namespace korvex {

// Attribute bits of a directory entry that the listing reads.
inline constexpr std::uint32_t kAttrReadOnly = 0x01;
inline constexpr std::uint32_t kAttrHidden = 0x02;
inline constexpr std::uint32_t kAttrSystem = 0x04;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;
inline constexpr std::uint32_t kAttrNormal = 0x80;

// "A", "R", "H", "S" for archive, read-only, hidden, system, always in this order.
std::wstring AttributeLetters(std::uint32_t attributes);

// The text of a drive type code 0..6; other codes give "<unknown>".
std::wstring DriveTypeName(std::uint8_t driveType);

// Digits grouped in threes with the separator (none for an empty one); 0 is "0".
std::wstring GroupDigits(std::uint64_t value, std::wstring_view thousandsSeparator);

// A local date and time, already split into its fields.
struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// The short date in the user's order and separator, then " hh:nn" with the time separator; the
// seconds are taken to two-second resolution, and a time of day that is then exactly 00:00:00
// leaves the date alone.
std::wstring ModifiedTimeText(const LocalTime& time, DateOrder dateOrder, std::wstring_view dateSeparator,
                              std::wstring_view timeSeparator);

// The attribute word of the shown classes (0x01, 0x02, 0x04, 0x20, 0x80).
std::uint32_t FilterWord(TFileType fileType);

// Whether an entry with these attributes passes the filter word: folder bit equal, and read-only,
// hidden and system each only when the filter has it.
bool PassesFilter(std::uint32_t attributes, std::uint32_t filter);

// The mask's patterns at every ";", as written (blanks kept, empty ones included).
std::vector<std::wstring> SplitMask(std::wstring_view mask);

// Whether the mask lets every name through: its only pattern (empty ones aside) is "*.*" or "*".
bool MaskMatchesAll(std::wstring_view mask);

// The drives pseudo-folder as the explorer names it.
inline constexpr wchar_t kDrivesFolder[] = L"Drives";

// Whether the text is the drives pseudo-folder: "DRIVES" once its ASCII letters are upper case.
bool IsDrivesWord(std::wstring_view text);

// The folder above a shown folder, ending in "\\"; "Drives" above a drive root ("C:\\" or "C:").
// None for a text without a "\\" or ":" to go up at.
std::optional<std::wstring> ParentOrDrives(std::wstring_view folder);

// The text after the last "\" or ":" of an entry's full path (empty for a drive root).
std::wstring_view BareName(std::wstring_view fullPath);

// The kind set of one tag; empty for any other text.
TObjectTypes KindOfTag(std::wstring_view tag);

}  // namespace korvex
