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

std::wstring CsvField(std::wstring_view value) {
    if (value.find_first_of(L";\"\r\n") == std::wstring_view::npos) return std::wstring(value);
    std::wstring out = L"\"";
    for (const wchar_t c : value) {
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

std::vector<std::vector<std::wstring>> ParseJournal(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(3);
    const std::wstring text = DecodeLenient(bytes);
    std::vector<std::vector<std::wstring>> rows;
    std::vector<std::wstring> fields;
    std::wstring field;
    bool quoted = false, lineHasText = false, header = true;
    auto endLine = [&] {
        if (lineHasText) {
            fields.push_back(std::move(field));
            if (header && !fields.empty() && fields.front() == L"Время")
                ;  // the header line
            else
                rows.push_back(std::move(fields));
            header = false;
        }
        fields.clear();
        field.clear();
        lineHasText = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (quoted) {
            if (c == L'"') {
                if (i + 1 < text.size() && text[i + 1] == L'"') {
                    field += L'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
            continue;
        }
        switch (c) {
            case L'"':
                quoted = true;
                lineHasText = true;
                break;
            case L';':
                fields.push_back(std::move(field));
                field.clear();
                lineHasText = true;
                break;
            case L'\r': break;
            case L'\n': endLine(); break;
            default: field += c; lineHasText = true;
        }
    }
    endLine();
    return rows;
}

}  // namespace korvex
