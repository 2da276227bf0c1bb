#include <gtest/gtest.h>

#include <cwctype>
#include <memory>

#include "JournalView.h"
#include "SendJournal.h"
#include "Utf8.h"

using namespace korvex;

namespace {

const FoldTable& TestFold() {
    static const auto table = [] {
        auto t = std::make_unique<FoldTable>();
        for (std::size_t c = 0; c < t->size(); ++c)
            (*t)[c] = static_cast<wchar_t>(c >= 0xD800 && c < 0xE000 ? c : std::towlower(static_cast<wint_t>(c)));
        // towlower knows Cyrillic only in a Cyrillic locale: these are the ones the tests type.
        for (wchar_t c = L'А'; c <= L'Я'; ++c) (*t)[c] = static_cast<wchar_t>(c + 32);
        (*t)[L'Ё'] = L'ё';
        return t;
    }();
    return *table;
}

std::wstring Line(std::wstring_view time, std::wstring_view subject, std::wstring_view path,
                  std::wstring_view result = kResultStarted) {
    JournalRecord r{{2026, 12, 10, 13, 37, 5, 180},
                    L"Office",
                    L"okb@example.ru",
                    std::wstring(subject),
                    std::wstring(path),
                    12,
                    1,
                    3,
                    std::wstring(result)};
    std::wstring line = JournalLine(r);
    return std::wstring(time) + line.substr(line.find(L';'));
}

// The first field of each row as shown, top row first.
std::vector<std::wstring> Times(const JournalView& view) {
    std::vector<std::wstring> times;
    for (std::size_t row = 0; row < view.RowCount(); ++row) times.push_back(view.Fields(view.RecordOfRow(row))[0]);
    return times;
}

}  // namespace

TEST(JournalView, RecordsAreSplitAtLineEndsOutsideQuotesAndShownNewestFirst) {
    struct Case {
        const char* name;
        std::wstring text;
        std::vector<std::wstring> times;  // newest first
    } const cases[] = {
        {"empty", L"", {}},
        {"header only", L"\uFEFF" + std::wstring(kJournalHeader) + L"\r\n", {}},
        {"header, CR LF", L"\uFEFF" + std::wstring(kJournalHeader) + L"\r\nt1;a\r\nt2;b\r\n", {L"t2", L"t1"}},
        {"no mark, LF, no last end", std::wstring(kJournalHeader) + L"\nt1;a\nt2;b", {L"t2", L"t1"}},
        {"no header", L"t1;a\r\nt2;b\r\n", {L"t2", L"t1"}},
        {"empty lines", L"\r\n\r\nt1;a\r\n\r\n\nt2;b\r\n\r\n", {L"t2", L"t1"}},
        {"break inside quotes", L"t1;\"two\r\nlines\";x\r\nt2;\"a\nb\"\r\nt3;c", {L"t3", L"t2", L"t1"}},
        {"doubled quotes before a break", L"t1;\"say \"\"hi\"\"\r\nthere\"\r\nt2", {L"t2", L"t1"}},
        {"header later is a record", L"t1;a\r\n" + std::wstring(kJournalHeader), {L"Время", L"t1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const JournalView view(c.text);
        EXPECT_EQ(view.RecordCount(), c.times.size());
        EXPECT_EQ(Times(view), c.times);
    }
}

TEST(JournalView, FieldsReadBackAsTheJournalWroteThem) {
    struct Case {
        std::wstring value, read;  // a line break is written as the window shows it
    } const awkward[] = {{L"a;b", L"a;b"},
                         {L"Say \"hi\"", L"Say \"hi\""},
                         {L"\"", L"\""},
                         {L"line\r\nbreak", L"line¶break"},
                         {L"lone\nfeed", L"lone¶feed"},
                         {L"C:\\Мои чертежи\\план 1.dwg", L"C:\\Мои чертежи\\план 1.dwg"},
                         {L"", L""},
                         {L"Чертежи (часть %i / %n)", L"Чертежи (часть %i / %n)"}};
    std::wstring text = L"\uFEFF" + std::wstring(kJournalHeader) + L"\r\n";
    for (const auto& c : awkward) text += Line(L"t", c.value, L"C:\\x y\\" + c.value) + L"\r\n";
    const JournalView view(text);
    ASSERT_EQ(view.RecordCount(), std::size(awkward));
    for (std::size_t i = 0; i < std::size(awkward); ++i) {
        SCOPED_TRACE(EncodeUtf8(awkward[i].value));
        const JournalFields fields = view.Fields(i);
        EXPECT_EQ(fields[0], L"t");
        EXPECT_EQ(fields[1], L"Office");
        EXPECT_EQ(fields[3], awkward[i].read);
        EXPECT_EQ(fields[4], L"C:\\x y\\" + awkward[i].read);
        EXPECT_EQ(fields[5], L"12");
        EXPECT_EQ(fields[6], L"1/3");
        EXPECT_EQ(fields[7], kResultStarted);
    }
}

TEST(JournalView, ADamagedLineIsOneRowOfItsOwnAndTheLinesAfterItStay) {
    // A journal of 1,000 starts with damage in line 2 (and line 500): every line is a row, the
    // damaged one showing its own text.
    const std::wstring quotedSubject = L";okb@example.ru;\"s;C:\\a.dwg;12;1/3;запущен";
    struct Case {
        const char* name;
        std::vector<std::pair<std::size_t, std::wstring>> damage;  // 1-based line, its text
    } const cases[] = {
        {"a quote opening a field", {{2, L"t2;\"Office;okb@example.ru;s;C:\\a.dwg;12;1/3;запущен"}}},
        {"a quote inside a field", {{2, L"t2;Off\"ice;okb@example.ru;s;C:\\a.dwg;12;1/3;запущен"}}},
        {"a quote alone at the end", {{2, L"t2;Office;okb@example.ru;s;C:\\a.dwg;12;1/3;запущен\""}}},
        {"a line cut inside a quoted field", {{2, L"t2;Office;okb@example.ru;\"Say \"\"hi"}}},
        {"too many fields", {{2, L"t2;1;2;3;4;5;6;7;8;9;\"10"}}},
        {"bad bytes and a quote", {{2, L"t2;\"\uFFFD\uFFFD;okb@example.ru"}}},
        // Together they would make a well-formed line of eight fields, were the lines between
        // them not lines of their own.
        {"quotes in lines 2 and 500 that pair up",
         {{2, L"t2;Office" + quotedSubject}, {500, L"t500;Office;okb@example.ru;s\";C:\\a.dwg;12;1/3;запущен"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring text = L"\uFEFF" + std::wstring(kJournalHeader) + L"\r\n";
        for (std::size_t line = 1; line <= 1000; ++line) {
            const auto damaged =
                std::find_if(c.damage.begin(), c.damage.end(), [&](const auto& d) { return d.first == line; });
            text += damaged != c.damage.end() ? damaged->second
                                              : Line(L"t" + std::to_wstring(line), L"Say \"hi\"", L"C:\\a.dwg");
            text += L"\r\n";
        }
        const JournalView view(text);
        ASSERT_EQ(view.RecordCount(), 1000u);
        ASSERT_EQ(view.RowCount(), 1000u);
        for (std::size_t r = 0; r < 1000; ++r) {
            ASSERT_EQ(view.Fields(r)[0], L"t" + std::to_wstring(r + 1)) << "record " << r;
            if (r != 1 && r != 499) {
                ASSERT_EQ(view.Fields(r)[3], L"Say \"hi\"") << "record " << r;
            }
        }
        for (const auto& [line, damaged] : c.damage) EXPECT_EQ(view.RecordText(line - 1), damaged);
    }
}

TEST(JournalView, AnOlderJournalsBreakInsideAFieldJoinsLinesOnlyWhenTheRecordIsWhole) {
    const std::wstring whole = Line(L"tw", L"s", L"C:\\w.dwg");
    struct Case {
        const char* name;
        std::wstring text;
        std::vector<std::wstring> times;  // newest first
    } const cases[] = {
        {"closed and followed by ;", L"t1;\"a\r\nb\";c\r\nt2", {L"t2", L"t1"}},
        {"over three lines", L"t1;\"a\r\n\r\nb;\"\"c\r\nd\";e\r\nt2", {L"t2", L"t1"}},
        {"closed, then more text", L"t1;\"a\r\nb\"x;c\r\nt2", {L"t2", L"b\"x", L"t1"}},
        {"bad bytes inside", L"t1;\"a\uFFFD\r\nb\";c\r\nt2", {L"t2", L"b\"", L"t1"}},
        {"a whole line between", L"t1;\"a\r\n" + whole + L"\r\nb\";c\r\nt2", {L"t2", L"b\"", L"tw", L"t1"}},
        {"too many fields once joined", L"t1;\"a\r\nb\";1;2;3;4;5;6;7", {L"b\"", L"t1"}},
        {"never closed", L"t1;\"a\r\nb\r\nc", {L"c", L"b", L"t1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const JournalView view(c.text);
        EXPECT_EQ(Times(view), c.times);
    }
    EXPECT_EQ(JournalView(cases[1].text).Fields(0)[1], L"a\r\n\r\nb;\"c\r\nd");
}

TEST(JournalView, ALineCutAnywhereTakesNoneOfTheLinesAppendedAfterIt) {
    // A full disk cut the second start; once there was room, a line end came first, then four
    // more starts.
    const std::wstring head =
        L"\uFEFF" + std::wstring(kJournalHeader) + L"\r\n" + Line(L"t1", L"s", L"C:\\1.dwg") + L"\r\n";
    const std::wstring cutLine = Line(L"t2", L"Say \"hi\"; bye", L"C:\\Мои чертежи\\2.dwg");
    std::wstring after;
    std::vector<std::wstring> later;
    for (int i = 3; i <= 6; ++i) {
        later.push_back(Line(L"t" + std::to_wstring(i), L"\"Чертежи\"; лист " + std::to_wstring(i), L"C:\\x.dwg"));
        after += later.back() + L"\r\n";
    }
    for (std::size_t cut = 1; cut < cutLine.size(); ++cut) {
        SCOPED_TRACE(cut);
        const JournalView view(head + cutLine.substr(0, cut) + L"\r\n" + after);
        ASSERT_EQ(view.RecordCount(), 6u);
        EXPECT_EQ(view.RecordText(1), cutLine.substr(0, cut));
        for (std::size_t i = 0; i < later.size(); ++i) EXPECT_EQ(view.Fields(2 + i), ParseJournalRecord(later[i]));
    }
}

TEST(JournalView, ShortAndLongRecordsKeepTheirFields) {
    EXPECT_EQ(ParseJournalRecord(L"a;b"), (JournalFields{L"a", L"b", L"", L"", L"", L"", L"", L""}));
    EXPECT_EQ(ParseJournalRecord(L"1;2;3;4;5;6;7;8;9;\"1;0\""),
              (JournalFields{L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8;9;1;0"}));
    EXPECT_EQ(ParseJournalRecord(L"\"unclosed;x"), (JournalFields{L"unclosed;x"}));
    EXPECT_EQ(OneLineField(L"a\r\nb\nc\rd"), L"a\u00B6b\u00B6c\u00B6d");
    EXPECT_EQ(OneLineField(L"plain"), L"plain");
}

TEST(JournalView, TheFilterKeepsRecordsWithTheTextInAnyFieldCaseIgnored) {
    std::wstring text = L"\uFEFF" + std::wstring(kJournalHeader) + L"\r\n";
    text += Line(L"t1", L"Чертежи ЛИСТ 1", L"C:\\a\\plan.dwg") + L"\r\n";
    text += Line(L"t2", L"other", L"C:\\b\\PLAN-B.dwg", FailedResult(L"Access is denied.")) + L"\r\n";
    text += Line(L"t3", L"Say \"hi\"; bye", L"C:\\c\\z.dwg") + L"\r\n";
    text += Line(L"t4", L"two\r\nlines", L"C:\\d\\z.dwg") + L"\r\n";
    JournalView view(text);
    struct Case {
        std::wstring needle;
        std::vector<std::wstring> times;
    } const cases[] = {
        {L"", {L"t4", L"t3", L"t2", L"t1"}},
        {L"plan", {L"t2", L"t1"}},
        {L"PLAN-b", {L"t2"}},
        {L"лист", {L"t1"}},
        {L"ЧЕРТЕЖИ лист 1", {L"t1"}},
        {L"ошибка", {L"t2"}},
        {L"okb@EXAMPLE", {L"t4", L"t3", L"t2", L"t1"}},
        {L"t3", {L"t3"}},
        {L"Время", {}},              // the header is no record
        {L"\"hi\"; bye", {L"t3"}},   // quotes and ";" as the field holds them
        {L"hi\"\"", {}},             // not the doubled quote of the file
        {L"z.dwg;", {}},             // no match across a field's end
        {L"two\r\nlines", {L"t4"}},  // a line break inside a field
        {L"nowhere", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(EncodeUtf8(c.needle));
        view.SetFilter(c.needle, TestFold());
        EXPECT_EQ(Times(view), c.times);
    }
}

TEST(JournalView, TypingOnNarrowsAndDeletingWidensAgain) {
    std::wstring text;
    for (int i = 0; i < 30; ++i)
        text +=
            Line(L"t" + std::to_wstring(i), L"s", L"C:\\f\\" + std::wstring(i % 3 ? L"ab" : L"abc") + L".dwg") + L"\n";
    JournalView view(text);
    view.SetFilter(L"a", TestFold());
    EXPECT_EQ(view.RowCount(), 30u);
    view.SetFilter(L"ab", TestFold());
    EXPECT_EQ(view.RowCount(), 30u);
    view.SetFilter(L"abc", TestFold());
    EXPECT_EQ(view.RowCount(), 10u);
    EXPECT_EQ(view.Fields(view.RecordOfRow(0))[0], L"t27");
    view.SetFilter(L"ab", TestFold());
    EXPECT_EQ(view.RowCount(), 30u);
    view.SetFilter(L"b.", TestFold());  // not a longer form of "ab"
    EXPECT_EQ(view.RowCount(), 20u);
    view.SetFilter(L"", TestFold());
    EXPECT_EQ(view.RowCount(), 30u);
    EXPECT_EQ(view.Fields(view.RecordOfRow(29))[0], L"t0");
}

TEST(JournalView, AFilterWithABreakFindsItAsShownInOlderAndNewerLines) {
    // t1 as an older journal holds a break, t2 as it is written now, t3 without one.
    const std::wstring text = L"t1;Office;okb@example.ru;\"two\r\nlines\";C:\\a.dwg;12;1/3;запущен\r\n" +
                              Line(L"t2", L"two\nlines", L"C:\\b.dwg") + L"\r\n" +
                              Line(L"t3", L"two lines", L"C:\\c.dwg") + L"\r\n";
    JournalView view(text);
    ASSERT_EQ(view.RecordCount(), 3u);
    struct Case {
        std::wstring needle;
        std::vector<std::wstring> times;
    } const cases[] = {
        {L"two\r\nlines", {L"t2", L"t1"}},
        {L"TWO¶", {L"t2", L"t1"}},
        {L"o\u2028l", {L"t2", L"t1"}},
        {L"two", {L"t3", L"t2", L"t1"}},
        {L"¶¶", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(EncodeUtf8(c.needle));
        view.SetFilter(c.needle, TestFold());
        EXPECT_EQ(Times(view), c.times);
    }
}
