#include "JournalView.h"

#include <algorithm>

namespace korvex {

namespace {

void FoldInto(std::wstring_view from, std::wstring& to, const FoldTable& fold) {
    to.resize(from.size());
    wchar_t* out = to.data();
    for (const wchar_t c : from) *out++ = fold[static_cast<std::size_t>(c) & 0xFFFF];
}

// A needle with one of these may match across a field's end or a doubled quote in the raw text, or
// stand for a line break an older journal holds as it is: such a filter compares field by field.
bool NeedsFieldByField(std::wstring_view needle) {
    return needle.find_first_of(L";\"\u00B6") != std::wstring_view::npos;
}

}  // namespace

JournalFields ParseJournalRecord(std::wstring_view record) {
    JournalFields fields;
    std::vector<std::wstring> split = SplitJournalFields(record);
    for (std::size_t i = 0; i < split.size(); ++i) {
        if (i < kJournalFieldCount)
            fields[i] = std::move(split[i]);
        else
            fields[kJournalFieldCount - 1] += L';' + split[i];
    }
    return fields;
}

JournalView::JournalView(std::wstring text) : text_(std::move(text)), records_(JournalRecordSpans(text_)) {}

void JournalView::SetFilter(std::wstring_view needle, const FoldTable& fold) {
    std::wstring folded;
    FoldInto(OneLineField(needle), folded, fold);
    if (folded.empty()) {
        needle_.clear();
        matches_.clear();
        filtered_ = false;
        return;
    }
    if (NeedsFieldByField(folded)) {
        FilterByFields(folded, fold);
    } else {
        if (folded_.size() != text_.size()) FoldInto(text_, folded_, fold);
        const std::wstring_view all(folded_);
        std::vector<std::size_t> matches;
        if (filtered_ && folded.find(needle_) != std::wstring::npos && !NeedsFieldByField(needle_)) {
            // Typing on: only the records the shorter text kept can hold the longer one.
            for (const std::size_t r : matches_)
                if (all.substr(records_[r].begin, records_[r].end - records_[r].begin).find(folded) !=
                    std::wstring_view::npos)
                    matches.push_back(r);
        } else if (!records_.empty()) {
            // One pass over the whole text: no line break in the needle, so a hit lies inside one
            // record, and no ";", quote or "¶", so inside one field of it as shown.
            std::size_t r = 0;
            std::size_t from = records_.front().begin;
            for (;;) {
                const std::size_t hit = all.find(folded, from);
                if (hit == std::wstring_view::npos) break;
                while (r < records_.size() && records_[r].end < hit + folded.size()) ++r;
                if (r == records_.size()) break;
                matches.push_back(r);
                from = records_[r].end;
            }
        }
        matches_ = std::move(matches);
    }
    needle_ = std::move(folded);
    filtered_ = true;
}

void JournalView::FilterByFields(const std::wstring& needle, const FoldTable& fold) {
    matches_.clear();
    std::wstring folded;
    for (std::size_t r = 0; r < records_.size(); ++r) {
        for (const auto& field : Fields(r)) {
            FoldInto(OneLineField(field), folded, fold);
            if (folded.find(needle) != std::wstring::npos) {
                matches_.push_back(r);
                break;
            }
        }
    }
}

}  // namespace korvex
