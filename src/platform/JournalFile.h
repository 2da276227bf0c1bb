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

// A file of lines that is only ever appended to; others may read it meanwhile. A line that a full
// disk or a crash cut short is ended before anything more is written, so that what follows starts
// a line of its own instead of being glued onto the cut one.
class AppendOnlyFile {
public:
    AppendOnlyFile() = default;
    AppendOnlyFile(const AppendOnlyFile&) = delete;
    AppendOnlyFile& operator=(const AppendOnlyFile&) = delete;
    virtual ~AppendOnlyFile() = default;

    // Opens the file for appending, creating it; a new (empty) file first gets head, a file whose
    // last line has no end gets one. A line ends as head's first line does (CR LF or LF; LF when
    // head has none). 0 or the system's error code.
    DWORD Open(std::wstring_view path, std::string_view head);
    // Appends the bytes with one write, after the end of a line left cut, and flushes them to the
    // disk. 0 or the system's error code.
    DWORD Append(std::string_view bytes);
    bool IsOpen() const noexcept { return static_cast<bool>(file_); }
    void Close() noexcept { file_.reset(); }

protected:
    // Writes bytes at the file's end; written says how many reached the file, also on an error. A
    // test's own full disk stands in here.
    virtual DWORD Write(HANDLE file, std::string_view bytes, std::size_t& written);

private:
    UniqueFile file_;
    std::string lineEnd_ = "\n";
    std::string cutLineEnd_;  // what ends a line left cut, before the next bytes
};

// Writes bytes to a temporary file beside path, flushes it and moves it over path in one step,
// so that path holds the old content or the new one, never a part. 0 or the system's error code.
DWORD ReplaceFileAtomically(std::wstring_view path, std::string_view bytes);

}  // namespace korvex::platform
