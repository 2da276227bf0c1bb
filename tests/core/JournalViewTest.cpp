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
    const std::wstring awkward[] = {L"a;b",        L"Say \"hi\"",
                                    L"\"",         L"line\r\nbreak",
                                    L"lone\nfeed", L"C:\\Мои чертежи\\план 1.dwg",
                                    L"",           L"Чертежи (часть %i / %n)"};
    std::wstring text = L"\uFEFF" + std::wstring(kJournalHeader) + L"\r\n";
    for (const auto& value : awkward) text += Line(L"t", value, L"C:\\x y\\" + value) + L"\r\n";
    const JournalView view(text);
    ASSERT_EQ(view.RecordCount(), std::size(awkward));
    for (std::size_t i = 0; i < std::size(awkward); ++i) {
        SCOPED_TRACE(EncodeUtf8(awkward[i]));
        const JournalFields fields = view.Fields(i);
        EXPECT_EQ(fields[0], L"t");
        EXPECT_EQ(fields[1], L"Office");
        EXPECT_EQ(fields[3], awkward[i]);
        EXPECT_EQ(fields[4], L"C:\\x y\\" + awkward[i]);
        EXPECT_EQ(fields[5], L"12");
        EXPECT_EQ(fields[6], L"1/3");
        EXPECT_EQ(fields[7], kResultStarted);
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
