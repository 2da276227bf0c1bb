#pragma once
// What the journal window reads: the journal's whole text, decoded once, and the case folding its
// filter compares with.

#include <windows.h>

#include <string>
#include <string_view>

#include "JournalView.h"

namespace korvex::platform {

// The file's text, decoded from UTF-8 in one pass over a mapped view of it; bytes that are not
// UTF-8 become U+FFFD. 0, or the system's error code (ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND
// for a journal that is not there yet).
DWORD ReadUtf8Text(std::wstring_view path, std::wstring& text);

// Each UTF-16 code unit's lower case by the invariant rules, made once with one system call.
const FoldTable& LowerCaseTable();

}  // namespace korvex::platform
