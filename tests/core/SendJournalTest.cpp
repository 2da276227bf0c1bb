#include <gtest/gtest.h>

#include "SavedSend.h"
#include "SendJournal.h"
#include "Utf8.h"

using namespace korvex;

TEST(SendJournal, FieldsAreQuotedOnlyWhereASpreadsheetNeedsIt) {
    struct Case {
        std::wstring value, field;
    } const cases[] = {
        {L"", L""},
        {L"plain", L"plain"},
        {L"Чертежи (часть 1 / 3)", L"Чертежи (часть 1 / 3)"},
        {L"C:\\Мои чертежи\\план 1.dwg", L"C:\\Мои чертежи\\план 1.dwg"},  // blanks need no quotes
        {L"a;b", L"\"a;b\""},
        {L"Say \"hi\"", L"\"Say \"\"hi\"\"\""},
        {L"\"", L"\"\"\"\""},
        {L"\"Иван Петров\" <ivan@example.ru>; копия", L"\"\"\"Иван Петров\"\" <ivan@example.ru>; копия\""},
        {L"¶ as typed", L"¶ as typed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(EncodeUtf8(c.value));
        EXPECT_EQ(CsvField(c.value), c.field);
        // What is written reads back as it was.
        const auto rows = ParseJournal(EncodeUtf8(L"x;" + CsvField(c.value) + L";y\r\n"));
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0], (std::vector<std::wstring>{L"x", c.value, L"y"}));
    }
}

TEST(SendJournal, NoLineBreakIsEverWrittenInsideAField) {
    // Every separator a spreadsheet or a text reader may start a new line at, alone and mixed with
    // what needs quotes; each becomes "¶" (CR LF as one), as the journal window shows a break.
    struct Case {
        std::wstring value, shown;
    } const cases[] = {
        {L"line\r\nbreak", L"line¶break"},
        {L"lone\nfeed", L"lone¶feed"},
        {L"lone\rreturn", L"lone¶return"},
        {L"\n\r", L"¶¶"},
        {L"\r\n\r\n", L"¶¶"},
        {L"a\vb\fc", L"a¶b¶c"},
        {L"a\x1C"
         L"b\x1D"
         L"c\x1E"
         L"d",
         L"a¶b¶c¶d"},
        {L"next\x85line", L"next¶line"},
        {L"line\u2028sep\u2029para", L"line¶sep¶para"},
        {L"say \"hi\";\r\nbye", L"say \"hi\";¶bye"},
        {L"trailing\r", L"trailing¶"},
    };
    constexpr std::wstring_view separators = L"\r\n\v\f\x1C\x1D\x1E\x85\u2028\u2029";
    for (const auto& c : cases) {
        SCOPED_TRACE(EncodeUtf8(c.value));
        // In every text field of a line at once: the line stays one line of eight fields.
        const JournalRecord record{
            {2026, 12, 10, 13, 37, 5, 180}, c.value, c.value, c.value, L"C:\\x\\" + c.value, 1, 1, 1, c.value};
        const std::wstring line = JournalLine(record);
        EXPECT_EQ(line.find_first_of(separators), std::wstring::npos) << EncodeUtf8(line);
        const auto rows = ParseJournal(EncodeUtf8(line + L"\r\n" + line + L"\r\n"));
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0], (std::vector<std::wstring>{L"2026-12-10T13:37:05+03:00", c.shown, c.shown, c.shown,
                                                      L"C:\\x\\" + c.shown, L"1", L"1/1", c.shown}));
        EXPECT_EQ(rows[1], rows[0]);
    }
}

TEST(SendJournal, TimesAreIsoWithTheirOffset) {
    EXPECT_EQ(IsoLocalTime({2026, 12, 10, 13, 37, 5, 180}), L"2026-12-10T13:37:05+03:00");
    EXPECT_EQ(IsoLocalTime({2026, 1, 2, 3, 4, 5, 0}), L"2026-01-02T03:04:05+00:00");
    EXPECT_EQ(IsoLocalTime({2026, 7, 1, 23, 59, 59, -210}), L"2026-07-01T23:59:59-03:30");
    EXPECT_EQ(IsoLocalTime({2026, 7, 1, 0, 0, 0, 345}), L"2026-07-01T00:00:00+05:45");
    EXPECT_EQ(ClockText({2026, 12, 10, 9, 7, 5, 180}), L"09:07:05");
}

TEST(SendJournal, ALineHoldsTheStartAsSent) {
    const JournalRecord record{{2026, 12, 10, 13, 37, 5, 180},
                               L"Рабочий ящик",
                               L"\"Иван\" <ivan@example.ru>",
                               L"Чертежи; часть 2 / 3",
                               L"C:\\Мои чертежи\\план.dwg",
                               1536,
                               2,
                               3,
                               kResultStarted};
    EXPECT_EQ(JournalLine(record),
              L"2026-12-10T13:37:05+03:00;Рабочий ящик;\"\"\"Иван\"\" <ivan@example.ru>\";\"Чертежи; часть 2 / 3\";"
              L"C:\\Мои чертежи\\план.dwg;1536;2/3;запущен");
    EXPECT_EQ(FailedResult(L"Access is denied.\r\n"), L"ошибка: Access is denied.");
}

TEST(SendJournal, ReadingSkipsTheMarkAndHeaderAndKeepsBrokenBytesAndLastLines) {
    const std::string bytes = std::string(kUtf8Bom) + EncodeUtf8(kJournalHeader) + "\r\n" + "a;\"b\r\nc\";d\r\n\r\n" +
                              "bad \xFF byte;e\r\n" + "last;without;end";
    const auto rows = ParseJournal(bytes);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (std::vector<std::wstring>{L"a", L"b\r\nc", L"d"}));
    EXPECT_EQ(rows[1], (std::vector<std::wstring>{L"bad \uFFFD byte", L"e"}));
    EXPECT_EQ(rows[2], (std::vector<std::wstring>{L"last", L"without", L"end"}));
}

TEST(SendJournal, FilesAreNamedAfterTheExecutable) {
    EXPECT_EQ(JournalPathFor(L"C:\\Tools\\korvex.exe"), L"C:\\Tools\\korvex-journal.csv");
    EXPECT_EQ(JournalPathFor(L"C:\\Tools\\Korvex.EXE"), L"C:\\Tools\\Korvex-journal.csv");
    EXPECT_EQ(JournalPathFor(L"C:\\Tools.exe\\korvex"), L"C:\\Tools.exe\\korvex-journal.csv");
    EXPECT_EQ(SavedSendPathFor(L"C:\\Tools\\korvex.exe"), L"C:\\Tools\\korvex-send.txt");
}

TEST(SavedSendRecord, RoundTripsAnyTextAndTheStartsAppendedToIt) {
    SavedSend send{L"Ящик\tс табуляцией", L"a@b\r\nc", L"Чертежи %i \\ %n", true, {}};
    send.entries = {{L"C:\\a b\\1.dwg", L"s 1", false, {}},
                    {L"C:\\2.dwg", L"s\\t 2", true, L"13:37:05"},
                    {L"C:\\3.dwg", L"s 3", false, {}}};
    std::string text = SavedSendText(send) + StartedLine(2, L"13:37:09");
    auto read = ParseSavedSend(text);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->mailbox, send.mailbox);
    EXPECT_EQ(read->address, send.address);
    EXPECT_EQ(read->subjectTemplate, send.subjectTemplate);
    EXPECT_TRUE(read->edit);
    ASSERT_EQ(read->entries.size(), 3u);
    EXPECT_EQ(read->entries[0].path, L"C:\\a b\\1.dwg");
    EXPECT_EQ(read->entries[1].subject, L"s\\t 2");
    EXPECT_EQ(read->StartedCount(), 2u);
    EXPECT_EQ(read->entries[2].startedAt, L"13:37:09");

    // A start line a crash cut in half counts for nothing; the record stays readable.
    read = ParseSavedSend(text + "started\t0");
    ASSERT_TRUE(read);
    EXPECT_FALSE(read->entries[0].started);
    // Lines that make no sense are passed over.
    EXPECT_EQ(ParseSavedSend(text + "started\t99\t\n" + "started\tx\t\n")->StartedCount(), 2u);
}

TEST(SavedSendRecord, WhatIsNotAWholeRecordIsRefused) {
    SavedSend send{L"m", L"a", L"s", false, {{L"C:\\1.dwg", L"s", false, {}}, {L"C:\\2.dwg", L"s", false, {}}}};
    const std::string text = SavedSendText(send);
    EXPECT_TRUE(ParseSavedSend(text));
    for (std::size_t cut = 0; cut < text.size(); ++cut) {
        SCOPED_TRACE(cut);
        EXPECT_FALSE(ParseSavedSend(text.substr(0, cut)));  // no "end" yet
    }
    EXPECT_FALSE(ParseSavedSend("something else\n"));
    std::string badCount = text;
    badCount.replace(badCount.find("count\t2"), 7, "count\t9");
    EXPECT_FALSE(ParseSavedSend(badCount));
    std::string badEscape = text;
    badEscape.replace(badEscape.find("mailbox\tm"), 9, "mailbox\t\\q");
    EXPECT_FALSE(ParseSavedSend(badEscape));
}

TEST(SavedSendRecord, KeepsEachEntrysPartNumberAndReadsOlderRecordsByPosition) {
    // The rest of a set of ten after its third file was removed: the numbers are not positions.
    SavedSend send{L"m", L"a", L"s %i/%n", false, {}};
    send.entries = {{L"C:\\1.dwg", L"s 1/10", true, L"10:00:01", 1, 10},
                    {L"C:\\4.dwg", L"s 4/10", false, {}, 4, 10},
                    {L"C:\\5.dwg", L"s 5/10", false, {}, 5, 10}};
    auto read = ParseSavedSend(SavedSendText(send));
    ASSERT_TRUE(read);
    ASSERT_EQ(read->entries.size(), 3u);
    EXPECT_EQ(read->entries[1].number, 4u);
    EXPECT_EQ(read->entries[2].count, 10u);

    // A record written before the numbers were kept: three fields an entry.
    const std::string older =
        "korvex-send 1\nmailbox\tm\naddress\ta\ntemplate\ts\nedit\t0\ncount\t2\n"
        "entry\tC:\\\\1.dwg\ts 1\nentry\tC:\\\\2.dwg\ts 2\nend\n";  // paths escaped
    read = ParseSavedSend(older);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->entries[1].number, 2u);
    EXPECT_EQ(read->entries[1].count, 2u);

    // A number that cannot be a part of its set is a damaged record.
    for (const char* bad : {"\t0\t10", "\t11\t10", "\tx\t10", "\t1\t"}) {
        SCOPED_TRACE(bad);
        std::string text = older;
        text.replace(text.find("\ts 2\n"), 5, std::string("\ts 2") + bad + "\n");
        EXPECT_FALSE(ParseSavedSend(text));
    }
}

TEST(SavedSendRecord, AStartLineCutShortAndEndedBeforeTheNextHidesNoStart) {
    // A full disk cuts the start line of entry 12; once there is room, the record file gets a line
    // end before the next start line (entry 13). At every cut, entry 13 reads as started, and entry
    // 12 does exactly when its position came whole (the tab after it was written): never another.
    SavedSend send{L"m", L"a", L"s", false, {}};
    for (int i = 0; i < 14; ++i) send.entries.push_back({L"C:\\" + std::to_wstring(i) + L".dwg", L"s", false, {}});
    const std::string text = SavedSendText(send);
    const std::string cutLine = StartedLine(12, L"13:37:05");
    for (std::size_t cut = 0; cut < cutLine.size(); ++cut) {
        SCOPED_TRACE(cut);
        const std::string piece = cutLine.substr(0, cut);
        const auto read = ParseSavedSend(text + piece + "\n" + StartedLine(13, L"13:37:09"));
        ASSERT_TRUE(read);
        EXPECT_TRUE(read->entries[13].started);
        EXPECT_EQ(read->entries[13].startedAt, L"13:37:09");
        EXPECT_EQ(read->entries[12].started, cut >= std::string_view("started\t12\t").size());
        EXPECT_EQ(read->StartedCount(), read->entries[12].started ? 2u : 1u);
    }
}
