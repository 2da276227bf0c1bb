#pragma once
// The text of a settings file with the keys of one section set, read as the system's INI
// functions read it, and everything else in it kept as it was.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvex {

using IniValues = std::vector<std::pair<std::wstring_view, std::wstring>>;

// The text with each key of values set in section. Lines end at "\n" (a "\r" before it belongs to
// the line ending). A section begins at a line whose first non-blank character is "[" and that
// holds a "]"; its name lies between them, trimmed. A key line is any other line: its name is the
// text before its first "=" (or the whole line), trimmed. Names compare with ASCII letters folded.
// As the system does, the first section of the name is the section, and its first line of a key
// the key:
// - a key already there keeps its line up to its "=" and gets the new value after it;
// - a key not there gets a line "key=value" after the section's last non-empty line;
// - a section not there is added at the end, with the keys in their order.
// New lines end in "\r\n". A line break cannot be part of a value: each becomes a blank.
std::wstring WithIniValues(std::wstring_view text, std::wstring_view section, const IniValues& values);

}  // namespace korvex
