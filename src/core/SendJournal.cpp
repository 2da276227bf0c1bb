#include "SendJournal.h"

#include <cstdio>

#include "Utf8.h"

namespace korvex {

namespace {

std::wstring TwoDigits(int value) {
    wchar_t text[8];
    std::swprintf(text, 8, L"%02d", value);
    return text;
}

// UTF-8 decoding that never fails: what is not UTF-8 becomes U+FFFD, byte by byte.
std::wstring DecodeLenient(std::string_view bytes) {
    if (auto text = DecodeUtf8(bytes)) return std::move(*text);
    std::wstring out;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = lead < 0x80         ? 1
                                   : (lead >> 5) == 6  ? 2
                                   : (lead >> 4) == 14 ? 3
                                   : (lead >> 3) == 30 ? 4
                                                       : 0;
        if (length > 0 && i + length <= bytes.size()) {
            if (auto piece = DecodeUtf8(bytes.substr(i, length))) {
                out += *piece;
                i += length;
                continue;
            }
        }
        out += L'\uFFFD';
        ++i;
    }
    return out;
}

}  // namespace

std::wstring IsoLocalTime(const ZonedTime& t) {
    wchar_t date[32];
    std::swprintf(date, 32, L"%04d-%02d-%02dT", t.year, t.month, t.day);
    const int offset = t.offsetMinutes < 0 ? -t.offsetMinutes : t.offsetMinutes;
    return date + ClockText(t) + (t.offsetMinutes < 0 ? L"-" : L"+") + TwoDigits(offset / 60) + L":" +
           TwoDigits(offset % 60);
}

std::wstring ClockText(const ZonedTime& t) {
    return TwoDigits(t.hour) + L":" + TwoDigits(t.minute) + L":" + TwoDigits(t.second);
}

std::wstring OneLineField(std::wstring_view field) {
    std::wstring out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        const wchar_t c = field[i];
        switch (c) {
            case L'\r':
                if (i + 1 < field.size() && field[i + 1] == L'\n') ++i;
                [[fallthrough]];
            case L'\n':
            case L'\v':
            case L'\f':
            case L'\x1C':
            case L'\x1D':
            case L'\x1E':
            case L'\x85':
            case L'\u2028':
            case L'\u2029': out += L'\u00B6'; break;
            default: out += c;
        }
    }
    return out;
}

std::wstring CsvField(std::wstring_view value) {
    std::wstring line = OneLineField(value);
    if (line.find_first_of(L";\"") == std::wstring::npos) return line;
    std::wstring out = L"\"";
    for (const wchar_t c : line) {
        if (c == L'"') out += L'"';
        out += c;
    }
    return out + L"\"";
}

std::wstring JournalLine(const JournalRecord& r) {
    return IsoLocalTime(r.time) + L";" + CsvField(r.mailbox) + L";" + CsvField(r.address) + L";" + CsvField(r.subject) +
           L";" + CsvField(r.path) + L";" + std::to_wstring(r.size) + L";" + std::to_wstring(r.position) + L"/" +
           std::to_wstring(r.count) + L";" + CsvField(r.result);
}

std::wstring FailedResult(std::wstring_view systemText) {
    std::wstring text(systemText);
    for (auto& c : text)
        if (c == L'\r' || c == L'\n') c = L' ';
    while (!text.empty() && text.back() == L' ') text.pop_back();
    return L"ошибка: " + text;
}

std::wstring JournalPathFor(std::wstring_view exePath) {
    std::wstring base(exePath);
    const std::size_t slash = base.find_last_of(L"\\/:");
    const std::size_t nameStart = slash == std::wstring::npos ? 0 : slash + 1;
    if (base.size() - nameStart >= 4) {
        std::wstring ext = base.substr(base.size() - 4);
        for (auto& c : ext) c = static_cast<wchar_t>(c >= L'A' && c <= L'Z' ? c + 32 : c);
        if (ext == L".exe") base.resize(base.size() - 4);
    }
    return base + L"-journal.csv";
}

std::vector<std::wstring> SplitJournalFields(std::wstring_view record, bool* clean) {
    std::vector<std::wstring> fields(1);
    bool wellFormed = true;
    std::size_t i = 0;
    for (;;) {
        std::wstring& field = fields.back();
        if (i < record.size() && record[i] == L'"') {
            for (++i;; ++i) {
                if (i == record.size()) {
                    wellFormed = false;  // the quote runs to the end
                    break;
                }
                if (record[i] != L'"') {
                    field += record[i];
                } else if (i + 1 < record.size() && record[i + 1] == L'"') {
                    field += L'"';
                    ++i;
                } else {
                    ++i;  // past the closing quote
                    break;
                }
            }
            if (i < record.size() && record[i] != L';') wellFormed = false;
        }
        // An unquoted field, or what follows a quoted one up to the separator: as it stands.
        for (; i < record.size() && record[i] != L';'; ++i) {
            if (record[i] == L'"') wellFormed = false;
            field += record[i];
        }
        if (i == record.size()) break;
        ++i;  // the ";"
        fields.emplace_back();
    }
    if (clean) *clean = wellFormed;
    return fields;
}

namespace {

struct LineScan {
    std::size_t begin, end;  // without the line end
    std::size_t next;        // where the next line begins
    bool openQuote;          // an odd count of quotes: a quoted field is still open at the end
};

LineScan ScanLine(std::wstring_view text, std::size_t at) {
    std::size_t quotes = 0, i = at;
    for (; i < text.size() && text[i] != L'\n'; ++i) quotes += text[i] == L'"';
    std::size_t end = i;
    if (end > at && text[end - 1] == L'\r') --end;
    return {at, end, i < text.size() ? i + 1 : i, (quotes & 1) != 0};
}

bool WholeJournalLine(std::wstring_view line) {
    bool clean = false;
    return SplitJournalFields(line, &clean).size() == kJournalFieldCount && clean;
}

// The end of the record that starts with line, when it is a quoted field over several lines (see
// JournalRecordSpans); 0 otherwise.
std::size_t JoinedEnd(std::wstring_view text, const LineScan& line) {
    for (std::size_t at = line.next; at < text.size();) {
        const LineScan next = ScanLine(text, at);
        if (next.openQuote) {
            const std::wstring_view joined = text.substr(line.begin, next.end - line.begin);
            bool clean = false;
            const bool fits = joined.find(L'\uFFFD') == std::wstring_view::npos &&
                              SplitJournalFields(joined, &clean).size() <= kJournalFieldCount && clean;
            return fits ? next.end : 0;
        }
        if (WholeJournalLine(text.substr(next.begin, next.end - next.begin))) return 0;
        at = next.next;
    }
    return 0;
}

}  // namespace

std::vector<JournalSpan> JournalRecordSpans(std::wstring_view text) {
    std::vector<JournalSpan> records;
    std::size_t at = !text.empty() && text.front() == L'\uFEFF' ? 1 : 0;
    while (at < text.size()) {
        const LineScan line = ScanLine(text, at);
        at = line.next;
        if (line.end == line.begin) continue;
        std::size_t end = line.end;
        if (line.openQuote) {
            if (const std::size_t joined = JoinedEnd(text, line)) {
                end = joined;
                at = ScanLine(text, end).next;
            }
        }
        records.push_back({line.begin, end});
    }
    // The header is the first line, when it is there.
    if (!records.empty()) {
        const std::wstring_view first = text.substr(records.front().begin, records.front().end - records.front().begin);
        constexpr std::wstring_view header = kJournalHeader;
        if (first.substr(0, first.find(L';')) == header.substr(0, header.find(L';'))) records.erase(records.begin());
    }
    return records;
}

std::vector<std::vector<std::wstring>> ParseJournal(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(3);
    const std::wstring text = DecodeLenient(bytes);
    std::vector<std::vector<std::wstring>> rows;
    for (const JournalSpan& span : JournalRecordSpans(text))
        rows.push_back(SplitJournalFields(std::wstring_view(text).substr(span.begin, span.end - span.begin)));
    return rows;
}

}  // namespace korvex
