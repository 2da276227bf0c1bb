#include "JournalView.h"

#include <algorithm>

namespace korvex {

namespace {

constexpr std::wstring_view kHeaderFirstField = L"Время";

void FoldInto(std::wstring_view from, std::wstring& to, const FoldTable& fold) {
    to.resize(from.size());
    wchar_t* out = to.data();
    for (const wchar_t c : from) *out++ = fold[static_cast<std::size_t>(c) & 0xFFFF];
}

// A needle with one of these may match across a field's end or a doubled quote in the raw text:
// such a filter compares field by field.
bool NeedsFieldByField(std::wstring_view needle) {
    return needle.find_first_of(L";\"\r\n") != std::wstring_view::npos;
}

}  // namespace

JournalFields ParseJournalRecord(std::wstring_view record) {
    JournalFields fields;
    std::size_t index = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < record.size(); ++i) {
        const wchar_t c = record[i];
        std::wstring& field = fields[index];
        if (quoted) {
            if (c != L'"') {
                field += c;
            } else if (i + 1 < record.size() && record[i + 1] == L'"') {
                field += L'"';
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == L'"') {
            quoted = true;
        } else if (c == L';' && index + 1 < kJournalFieldCount) {
            ++index;
        } else {
            field += c;
        }
    }
    return fields;
}

std::wstring OneLineField(std::wstring_view field) {
    std::wstring out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        const wchar_t c = field[i];
        if (c == L'\r' || c == L'\n') {
            if (c == L'\r' && i + 1 < field.size() && field[i + 1] == L'\n') ++i;
            out += L'\u00B6';
        } else {
            out += c;
        }
    }
    return out;
}

JournalView::JournalView(std::wstring text) : text_(std::move(text)) {
    std::size_t begin = !text_.empty() && text_.front() == L'\uFEFF' ? 1 : 0;
    const wchar_t* const data = text_.data();
    const std::size_t size = text_.size();
    auto addRecord = [&](std::size_t end) {
        if (end > begin && data[end - 1] == L'\r') --end;
        if (end > begin) records_.push_back({begin, end});
    };
    bool quoted = false;
    for (std::size_t i = begin; i < size; ++i) {
        const wchar_t c = data[i];
        if (c == L'"') {
            quoted = !quoted;
        } else if (c == L'\n' && !quoted) {
            addRecord(i);
            begin = i + 1;
        }
    }
    addRecord(size);
    // The header is the first line, when it is there.
    if (!records_.empty()) {
        const std::wstring_view first = RecordText(0);
        if (first.substr(0, first.find(L';')) == kHeaderFirstField) records_.erase(records_.begin());
    }
}

void JournalView::SetFilter(std::wstring_view needle, const FoldTable& fold) {
    std::wstring folded;
    FoldInto(needle, folded, fold);
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
            // record, and no ";" or quote, so inside one field of it.
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
            FoldInto(field, folded, fold);
            if (folded.find(needle) != std::wstring::npos) {
                matches_.push_back(r);
                break;
            }
        }
    }
}

}  // namespace korvex
