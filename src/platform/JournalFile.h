#pragma once
// Files that must survive a crash: the journal, appended to line by line with each line on the
// disk before the call returns, and the record of a send under way, replaced as a whole at once.

#include <windows.h>

#include <string>
#include <string_view>

#include "SendJournal.h"
#include "UniqueResource.h"

namespace korvex::platform {

// Now, in local time, with the offset from UTC that holds now.
ZonedTime LocalNow();

// A file that is only ever appended to; others may read it meanwhile.
class AppendOnlyFile {
public:
    // Opens the file for appending, creating it; a new (empty) file first gets head. 0 or the
    // system's error code.
    DWORD Open(std::wstring_view path, std::string_view head);
    // Appends the bytes with one write and flushes them to the disk. 0 or the system's error code.
    DWORD Append(std::string_view bytes);
    bool IsOpen() const noexcept { return static_cast<bool>(file_); }
    void Close() noexcept { file_.reset(); }

private:
    UniqueFile file_;
};

// Writes bytes to a temporary file beside path, flushes it and moves it over path in one step,
// so that path holds the old content or the new one, never a part. 0 or the system's error code.
DWORD ReplaceFileAtomically(std::wstring_view path, std::string_view bytes);

}  // namespace korvex::platform
