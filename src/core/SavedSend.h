#pragma once
// The record of a send under way, kept beside the executable so that a send cut short by a crash
// or a power cut can be finished after a restart: what was to be sent, and which starts were made.
// The text is UTF-8, one item per line, fields separated by tabs; a tab, a line break or a
// backslash inside a value is escaped. Starts are appended to the record as they are made; a line
// that a crash left half written is ignored.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex {

struct SavedSendEntry {
    std::wstring path;
    std::wstring subject;  // as sent
    bool started = false;
    std::wstring startedAt;  // the clock time of the start ("13:37:05"), when started
    // The entry's %i and %n in its send; 0 in a record written before they were kept: then its
    // position in the record, and the record's length.
    std::size_t number = 0, count = 0;
};

struct SavedSend {
    std::wstring mailbox, address, subjectTemplate;
    bool edit = false;
    std::vector<SavedSendEntry> entries;  // n = entries.size()

    std::size_t StartedCount() const;
};

// The whole record as written when the send begins, entries already started included.
std::string SavedSendText(const SavedSend& send);
// The line appended when the start of the entry at position (0-based) is made.
std::string StartedLine(std::size_t position, std::wstring_view clock);
// The record from its bytes; nullopt when it is not a whole record.
std::optional<SavedSend> ParseSavedSend(std::string_view bytes);

// The record's file beside the executable: its name without ".exe", then "-send.txt".
std::wstring SavedSendPathFor(std::wstring_view exePath);

}  // namespace korvex
