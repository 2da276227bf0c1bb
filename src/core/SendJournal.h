#pragma once
// The journal of starts: one ";"-separated line per start attempt, in UTF-8 with a byte-order
// mark, so that a spreadsheet under Russian regional settings opens it by a double click. A field
// holding ";" or a double quote is enclosed in double quotes, inner quotes doubled. No line break
// is ever written inside a field: each is kept as "¶", so that every physical line is one start
// and a line cut short by a full disk or a crash cannot take the lines after it along.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvex {

inline constexpr wchar_t kJournalHeader[] = L"Время;Ящик;Адрес;Тема;Файл;Размер;Номер;Результат";
inline constexpr std::size_t kJournalFieldCount = 8;  // the header's fields
inline constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

// A moment of local time with the local offset from UTC at that moment.
struct ZonedTime {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    int offsetMinutes = 0;  // local minus UTC: +180 in Moscow
};

// 2026-12-10T13:37:05+03:00 (ISO 8601 with the offset; "+00:00" for UTC).
std::wstring IsoLocalTime(const ZonedTime& time);
// 13:37:05
std::wstring ClockText(const ZonedTime& time);

// A field as one line: each line break (CR LF, LF, CR, and the other separators a spreadsheet or a
// text reader may break a line at: VT, FF, U+001C-U+001E, NEL, U+2028, U+2029) becomes "¶".
std::wstring OneLineField(std::wstring_view field);

// The field as it goes between the separators: on one line, quoted where needed.
std::wstring CsvField(std::wstring_view value);

struct JournalRecord {
    ZonedTime time;
    std::wstring mailbox, address, subject, path;
    std::uint64_t size = 0;
    std::size_t position = 0;  // 1-based, as "%i"
    std::size_t count = 0;     // as "%n"
    std::wstring result;       // "запущен", "без ответа" or "ошибка: <system text>"
};

// One line of the journal without its line end.
std::wstring JournalLine(const JournalRecord& record);

// The result texts of a start.
inline constexpr wchar_t kResultStarted[] = L"запущен";
inline constexpr wchar_t kResultUnconfirmed[] = L"без ответа";
std::wstring FailedResult(std::wstring_view systemText);  // "ошибка: <text>", the text on one line

// The journal beside the executable: its name without ".exe", then "-journal.csv".
std::wstring JournalPathFor(std::wstring_view exePath);

// Where the records of a journal's decoded text lie, in file order, each without its line end; the
// byte-order mark (U+FEFF), the header line and empty lines are left out. Each physical line is
// one record, whatever it holds. Only a journal written before line breaks were kept as "¶" can
// hold a record over several lines, a quoted field with a line break in it: lines are joined into
// one record only when the quote opened at a line's end closes in a later line, the joined text
// is well formed (each quoted field closed and followed by ";" or the end), holds no more fields
// than a journal line, no U+FFFD, and no line in between is a whole journal line of its own. So a
// stray or cut quote never takes the lines after it along.
struct JournalSpan {
    std::size_t begin, end;
};
std::vector<JournalSpan> JournalRecordSpans(std::wstring_view text);

// The ";"-separated fields of one record's text: a field that starts with a double quote runs to
// the quote that closes it (a doubled quote is one quote), or to the record's end if none does;
// other quotes are taken as they stand. clean, when given, says whether the text is well formed.
std::vector<std::wstring> SplitJournalFields(std::wstring_view record, bool* clean = nullptr);

// The records of a journal's bytes, each as its fields, in file order, split as
// JournalRecordSpans does; a byte-order mark is skipped and bytes that are not UTF-8 are read as
// U+FFFD. A last line without its end counts too.
std::vector<std::vector<std::wstring>> ParseJournal(std::string_view bytes);

}  // namespace korvex
