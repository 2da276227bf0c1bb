#pragma once
// The journal of starts: one ";"-separated line per start attempt, in UTF-8 with a byte-order
// mark, so that a spreadsheet under Russian regional settings opens it by a double click. A field
// holding ";", a double quote or a line break is enclosed in double quotes, inner quotes doubled.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvex {

inline constexpr wchar_t kJournalHeader[] = L"Время;Ящик;Адрес;Тема;Файл;Размер;Номер;Результат";
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

// The field as it goes between the separators.
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

// The records of a journal's bytes, each as its fields, in file order; the header line and empty
// lines are left out, a byte-order mark is skipped, bytes that are not UTF-8 are read as U+FFFD,
// and a quoted field may span lines. A last line without its end counts too.
std::vector<std::vector<std::wstring>> ParseJournal(std::string_view bytes);

}  // namespace korvex
