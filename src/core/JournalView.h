#pragma once
// The journal of starts as the journal window shows it: the decoded text of the whole file held
// once, its records found as spans of that text (a damaged line is a record of its own), the
// fields of a record parsed only when a row is shown, newest record first, and a filter that keeps
// the records with the typed text in any field as shown, case ignored.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "SendJournal.h"

namespace korvex {

using JournalFields = std::array<std::wstring, kJournalFieldCount>;

// The lower case of every UTF-16 code unit: what the filter compares. The platform makes it once
// (its own case rules); a code unit that folds to more than one unit keeps itself.
using FoldTable = std::array<wchar_t, 0x10000>;

// The ";"-separated fields of one record's text, split as SplitJournalFields does. Fields past
// the eighth are joined to it with their ";", missing ones are empty.
JournalFields ParseJournalRecord(std::wstring_view record);

class JournalView {
public:
    JournalView() = default;
    // The journal's text as decoded from the file, its byte-order mark (U+FEFF) included or not,
    // its records as JournalRecordSpans finds them.
    explicit JournalView(std::wstring text);

    std::size_t RecordCount() const noexcept { return records_.size(); }
    // The rows shown: every record, or those the filter keeps, newest (last in the file) first.
    std::size_t RowCount() const noexcept { return filtered_ ? matches_.size() : records_.size(); }
    // The index in file order of the record shown in row.
    std::size_t RecordOfRow(std::size_t row) const noexcept {
        return filtered_ ? matches_[matches_.size() - 1 - row] : records_.size() - 1 - row;
    }
    std::wstring_view RecordText(std::size_t record) const noexcept {
        return std::wstring_view(text_).substr(records_[record].begin, records_[record].end - records_[record].begin);
    }
    JournalFields Fields(std::size_t record) const { return ParseJournalRecord(RecordText(record)); }

    // Keeps the records that hold needle in any field as shown on one line (OneLineField), case
    // ignored by fold; a line break in needle stands for "¶". An empty needle keeps all. The
    // folded text is made at the first filter and kept.
    void SetFilter(std::wstring_view needle, const FoldTable& fold);
    const std::wstring& Filter() const noexcept { return needle_; }

private:
    using Span = JournalSpan;  // the record's text, without its line end
    void FilterByFields(const std::wstring& needle, const FoldTable& fold);

    std::wstring text_;
    std::wstring folded_;  // text_ folded, once a filter needs it
    std::vector<Span> records_;
    std::vector<std::size_t> matches_;  // records the filter keeps, in file order
    std::wstring needle_;
    bool filtered_ = false;
};

}  // namespace korvex
