#pragma once
// Decoding of the address book "adress.txt": one address per line.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex {

// Turns bytes of the system's 8-bit code page into UTF-16 (the platform's conversion).
using AnsiDecoder = std::function<std::wstring(std::string_view)>;

// The entries of the address book, in file order, each without double quotes.
// Text: FF FE at the start means UTF-16 LE and FE FF UTF-16 BE (the mark is no part of the first
// entry; an odd last byte is ignored); else a UTF-8 byte-order mark, or bytes that are valid UTF-8
// as a whole, mean UTF-8; anything else is the ANSI code page. Lines end at LF or CR LF; a CR not followed by LF is
// dropped; a Ctrl+Z at the start of a line ends the file; the last line needs no line end and a final line end adds no
// empty entry. Empty lines give empty entries.
std::vector<std::wstring> DecodeAddressBook(std::string_view bytes, const AnsiDecoder& ansi);

}  // namespace korvex
