// The journal in its window: newest start first, every field as the journal holds it, a filter that
// narrows as the user types and clears again, a journal not there yet said so, and the file opened
// in its own program. And the file itself: appended to after a line a full disk cut, it keeps
// every start a line of its own.

#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "JournalFile.h"
#include "JournalWindow.h"
#include "SendFixture.h"
#include "SendJournal.h"
#include "Utf8.h"

namespace korvex::test {
namespace {

JournalRecord Record(int second, std::wstring subject, std::wstring path, std::wstring result = kResultStarted) {
    return {{2026, 12, 10, 13, 37, second, 180},
            L"Рабочий ящик",
            L"\"Иван\" <ivan@example.ru>",
            std::move(subject),
            std::move(path),
            1536,
            static_cast<std::size_t>(second),
            9,
            std::move(result)};
}

class JournalWindowTest : public ::testing::Test {
protected:
    TempDir dir;
    std::wstring path = dir / L"korvex-journal.csv";
    FakePrompter prompter;
    std::vector<std::wstring> opened;
    DWORD openError = 0;
    TJournalWindow window{path, prompter, [this](const std::wstring& file) {
                              opened.push_back(file);
                              return openError;
                          }};

    void WriteJournal(const std::vector<JournalRecord>& records) {
        std::string bytes = std::string(kUtf8Bom) + EncodeUtf8(kJournalHeader) + "\r\n";
        for (const auto& r : records) bytes += EncodeUtf8(JournalLine(r)) + "\r\n";
        WriteBytes(path, bytes);
    }
    std::vector<std::wstring> Column(int column) const {
        std::vector<std::wstring> texts;
        for (int row = 0; row < window.ListViewJournal.Count(); ++row)
            texts.push_back(window.ListViewJournal.ItemText(row, column));
        return texts;
    }
    // Types into the filter box as a user does and waits until the list follows.
    void Type(const std::wstring& text, int expectedRows) {
        SetWindowTextW(window.EditFilter.Handle(), text.c_str());
        EXPECT_TRUE(WaitFor([&] { return window.AppliedFilter() == text; }, std::chrono::seconds(10)));
        EXPECT_EQ(window.ListViewJournal.Count(), expectedRows)
            << EncodeUtf8(text) << ": " << window.ListViewJournal.Count() << " rows";
    }
};

TEST_F(JournalWindowTest, ListsNewestFirstWithEveryFieldAsWritten) {
    WriteJournal({Record(1, L"a;b", L"C:\\Мои чертежи\\план 1.dwg"),
                  Record(2, L"Say \"hi\"", L"C:\\x\\2.dwg", FailedResult(L"Access is denied.")),
                  Record(3, L"line\r\nbreak", L"C:\\x\\3.dwg", kResultUnconfirmed)});
    window.Open(nullptr);
    ASSERT_TRUE(window.Visible());
    EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"2026-12-10T13:37:03+03:00", L"2026-12-10T13:37:02+03:00",
                                                    L"2026-12-10T13:37:01+03:00"}));
    EXPECT_EQ(Column(1), std::vector<std::wstring>(3, L"Рабочий ящик"));
    EXPECT_EQ(Column(2), std::vector<std::wstring>(3, L"\"Иван\" <ivan@example.ru>"));
    EXPECT_EQ(Column(3), (std::vector<std::wstring>{L"line\u00B6break", L"Say \"hi\"", L"a;b"}));
    EXPECT_EQ(Column(4), (std::vector<std::wstring>{L"C:\\x\\3.dwg", L"C:\\x\\2.dwg", L"C:\\Мои чертежи\\план 1.dwg"}));
    EXPECT_EQ(Column(5), std::vector<std::wstring>(3, L"1536"));
    EXPECT_EQ(Column(6), (std::vector<std::wstring>{L"3/9", L"2/9", L"1/9"}));
    EXPECT_EQ(Column(7), (std::vector<std::wstring>{L"без ответа", L"ошибка: Access is denied.", L"запущен"}));
    EXPECT_NE(window.StateText().find(L"Записей: 3"), std::wstring::npos) << EncodeUtf8(window.StateText());
}

TEST_F(JournalWindowTest, TheFilterNarrowsAsTheUserTypesAndClearsAgain) {
    WriteJournal({Record(1, L"Чертежи 1", L"C:\\Стройка\\план.dwg"), Record(2, L"Other", L"C:\\b\\PLAN-B.dwg"),
                  Record(3, L"Чертежи 3", L"C:\\c\\z.dwg", FailedResult(L"Access is denied."))});
    window.Open(nullptr);
    ASSERT_EQ(window.ListViewJournal.Count(), 3);
    Type(L"ЧЕРТЕЖИ", 2);
    EXPECT_EQ(Column(3), (std::vector<std::wstring>{L"Чертежи 3", L"Чертежи 1"}));
    EXPECT_NE(window.StateText().find(L"Найдено 2 из 3"), std::wstring::npos) << EncodeUtf8(window.StateText());
    Type(L"ЧЕРТЕЖИ 1", 1);
    EXPECT_EQ(Column(4), (std::vector<std::wstring>{L"C:\\Стройка\\план.dwg"}));
    Type(L"plan", 1);  // "план" is not "plan"
    EXPECT_EQ(Column(4), (std::vector<std::wstring>{L"C:\\b\\PLAN-B.dwg"}));
    Type(L"denied", 1);
    Type(L"\"иван\" <", 3);
    Type(L"nowhere", 0);
    EXPECT_NE(window.StateText().find(L"Найдено 0 из 3"), std::wstring::npos);
    Type(L"", 3);
    EXPECT_EQ(Column(6), (std::vector<std::wstring>{L"3/9", L"2/9", L"1/9"}));
}

TEST_F(JournalWindowTest, AJournalNotThereYetIsSaidSoAndNotOpened) {
    window.Open(nullptr);
    EXPECT_EQ(window.ListViewJournal.Count(), 0);
    EXPECT_NE(window.StateText().find(L"Журнала ещё нет"), std::wstring::npos) << EncodeUtf8(window.StateText());
    EXPECT_NE(window.StateText().find(path), std::wstring::npos);
    window.OpenFile();
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].text.find(L"Журнала ещё нет"), std::wstring::npos);
    // Once there, the next open shows it.
    WriteJournal({Record(1, L"s", L"C:\\a.dwg")});
    window.Open(nullptr);
    EXPECT_EQ(window.ListViewJournal.Count(), 1);
}

TEST_F(JournalWindowTest, TheButtonOpensTheFileInItsProgramAndSaysWhenItCannot) {
    WriteJournal({Record(1, L"s", L"C:\\a.dwg")});
    window.Open(nullptr);
    SendMessageW(window.btOpenFile.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(opened, std::vector<std::wstring>{path});
    EXPECT_TRUE(prompter.shown.empty());
    openError = ERROR_NO_ASSOCIATION;
    SendMessageW(window.btOpenFile.Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].caption, L"Korvex");
    EXPECT_NE(prompter.shown[0].text.find(path), std::wstring::npos);
}

TEST_F(JournalWindowTest, BrokenBytesAndATornLastLineAreShownNotLost) {
    // The quote torn open never closes: it ends with its line, and the line after it is a row.
    WriteBytes(path, std::string(kUtf8Bom) + EncodeUtf8(kJournalHeader) + "\r\n" + "t1;bad \xFF byte\r\n" +
                         "t2;\"torn \r\nquote");
    window.Open(nullptr);
    EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"quote", L"t2", L"t1"}));
    EXPECT_EQ(Column(1), (std::vector<std::wstring>{L"", L"torn ", L"bad \uFFFD byte"}));
}

TEST_F(JournalWindowTest, AStrayQuoteHidesNoneOfTheLinesAfterIt) {
    std::string bytes = std::string(kUtf8Bom) + EncodeUtf8(kJournalHeader) + "\r\n";
    for (int i = 1; i <= 1000; ++i) {
        std::string line = EncodeUtf8(JournalLine(Record(i % 60, L"Лист " + std::to_wstring(i), L"C:\\x.dwg")));
        if (i == 2) line.insert(line.find(';') + 1, "\"");
        bytes += line + "\r\n";
    }
    WriteBytes(path, bytes);
    window.Open(nullptr);
    EXPECT_EQ(window.ListViewJournal.Count(), 1000);
    EXPECT_NE(window.StateText().find(L"Записей: 1\u00A0000"), std::wstring::npos) << EncodeUtf8(window.StateText());
    EXPECT_EQ(window.ListViewJournal.ItemText(0, 3), L"Лист 1000");
    EXPECT_EQ(window.ListViewJournal.ItemText(997, 3), L"Лист 3");
    EXPECT_EQ(window.ListViewJournal.ItemText(998, 1).substr(0, 13), L"Рабочий ящик;");
    EXPECT_EQ(window.ListViewJournal.ItemText(999, 3), L"Лист 1");
}

// A disk of the test's own that fills up: each write gets as many bytes as there is room for.
class FillingFile : public platform::AppendOnlyFile {
public:
    std::size_t room = std::numeric_limits<std::size_t>::max();

protected:
    DWORD Write(HANDLE file, std::string_view bytes, std::size_t& written) override {
        const std::size_t fits = std::min(room, bytes.size());
        room -= fits;
        if (const DWORD error = AppendOnlyFile::Write(file, bytes.substr(0, fits), written)) return error;
        return fits < bytes.size() ? ERROR_DISK_FULL : 0;
    }
};

TEST(AppendOnlyFile, ALineLeftCutIsEndedBeforeTheNextBytes) {
    const std::string head = std::string(kUtf8Bom) + "H;x\r\n";
    struct Case {
        const char* name;
        std::optional<std::string> before;  // nullopt: no file yet
        std::string head, line, after;
    } const cases[] = {
        {"no file yet", std::nullopt, head, "L\r\n", head + "L\r\n"},
        {"an empty file", "", head, "L\r\n", head + "L\r\n"},
        {"whole lines", head + "a\r\n", head, "L\r\n", head + "a\r\nL\r\n"},
        {"cut inside a quote", head + "a;\"b", head, "L\r\n", head + "a;\"b\r\nL\r\n"},
        {"cut between CR and LF", head + "a\r", head, "L\r\n", head + "a\r\nL\r\n"},
        {"the head cut", "\xEF\xBB\xBFH;", head, "L\r\n", "\xEF\xBB\xBFH;\r\nL\r\n"},
        {"LF lines, whole", "k 1\nend\n", "", "started\t2\t13:37:09\n", "k 1\nend\nstarted\t2\t13:37:09\n"},
        {"LF lines, cut", "k 1\nend\nstarted\t1", "", "started\t2\t13:37:09\n",
         "k 1\nend\nstarted\t1\nstarted\t2\t13:37:09\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir dir;
        const std::wstring file = dir / L"f.txt";
        if (c.before) WriteBytes(file, *c.before);
        platform::AppendOnlyFile appended;
        ASSERT_EQ(appended.Open(file, c.head), 0u);
        ASSERT_EQ(appended.Append(c.line), 0u);
        appended.Close();
        EXPECT_EQ(ReadBytes(file), c.after);
        // Opened again on whole lines, it adds nothing of its own.
        ASSERT_EQ(appended.Open(file, c.head), 0u);
        appended.Close();
        EXPECT_EQ(ReadBytes(file), c.after);
    }
}

TEST_F(JournalWindowTest, StartsAfterAFullDiskAreLinesOfTheirOwn) {
    const std::string head = std::string(kUtf8Bom) + EncodeUtf8(kJournalHeader) + "\r\n";
    auto line = [](int second) {
        return EncodeUtf8(JournalLine(Record(second, L"Say \"hi\"; 1", L"C:\\a.dwg"))) + "\r\n";
    };
    {
        FillingFile journal;
        ASSERT_EQ(journal.Open(path, head), 0u);
        ASSERT_EQ(journal.Append(line(1)), 0u);
        journal.room = 92;  // the disk fills up inside the quoted subject
        EXPECT_EQ(journal.Append(line(2)), static_cast<DWORD>(ERROR_DISK_FULL));
        journal.room = 0;
        EXPECT_EQ(journal.Append(line(3)), static_cast<DWORD>(ERROR_DISK_FULL));
        journal.room = 1;  // only the CR of the line end fits
        EXPECT_EQ(journal.Append(line(3)), static_cast<DWORD>(ERROR_DISK_FULL));
        journal.room = std::numeric_limits<std::size_t>::max();  // room again
        ASSERT_EQ(journal.Append(line(4)), 0u);
        ASSERT_EQ(journal.Append(line(5)), 0u);
        journal.room = 30;  // and inside the mailbox
        EXPECT_EQ(journal.Append(line(6)), static_cast<DWORD>(ERROR_DISK_FULL));
    }
    {
        // The next send, on a journal whose last line is cut.
        platform::AppendOnlyFile journal;
        ASSERT_EQ(journal.Open(path, head), 0u);
        ASSERT_EQ(journal.Append(line(7)), 0u);
    }
    EXPECT_EQ(ReadBytes(path), head + line(1) + line(2).substr(0, 92) + "\r\n" + line(4) + line(5) +
                                   line(6).substr(0, 30) + "\r\n" + line(7));
    window.Open(nullptr);
    ASSERT_EQ(window.ListViewJournal.Count(), 6);
    EXPECT_EQ(Column(6), (std::vector<std::wstring>{L"7/9", L"", L"5/9", L"4/9", L"", L"1/9"}));
    EXPECT_EQ(Column(0)[1], L"2026-12-10T13:37:06+03:00");
    EXPECT_EQ(Column(3)[4], L"Say \"hi");
    EXPECT_NE(window.StateText().find(L"Записей: 6"), std::wstring::npos) << EncodeUtf8(window.StateText());
}

// The button of the send list's bar, after a real send: the window shows the starts just made.
class JournalButtonTest : public SendFixture {};

TEST_F(JournalButtonTest, TheSendListBarOpensTheJournalOfTheStartsJustMade) {
    CreateReadySendForm();
    AddFiles({L"one.dwg", L"two.dwg", L"three.dwg"});
    Fill(L"Office", L"a@example.com", L"Лист %i / %n");
    Press();
    ASSERT_EQ(WaitForFakeBatLog(log, starts).size(), 3u);
    SendMessageW(form->btJournal.Handle(), BM_CLICK, 0, 0);
    TJournalWindow& journal = form->JournalWindow();
    ASSERT_TRUE(journal.Visible());
    EXPECT_EQ(GetWindow(journal.Handle(), GW_OWNER), form->Handle());
    ASSERT_EQ(journal.ListViewJournal.Count(), 3);
    EXPECT_EQ(journal.ListViewJournal.ItemText(0, 3), L"Лист 3 / 3");
    EXPECT_EQ(journal.ListViewJournal.ItemText(0, 4), files / L"three.dwg");
    EXPECT_EQ(journal.ListViewJournal.ItemText(2, 6), L"1/3");
    // Closed and opened again after another start: the file as it is now.
    SendMessageW(journal.Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(journal.Visible());
    AddFiles({L"four.dwg"});
    prompter.answers = {ui::ChoiceResult(0)};  // "Новые": the file added later, numbered by itself
    Press();
    ASSERT_EQ(WaitForFakeBatLog(log, starts).size(), 4u);
    SendMessageW(form->btJournal.Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(journal.ListViewJournal.Count(), 4);
    EXPECT_EQ(journal.ListViewJournal.ItemText(0, 4), files / L"four.dwg");
    EXPECT_EQ(journal.ListViewJournal.ItemText(0, 6), L"1/1");
    // Esc in its filter box closes it: the program's loop hands dialog keys to the windows it owns.
    MSG esc{journal.EditFilter.Handle(), WM_KEYDOWN, VK_ESCAPE, 1, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(journal.Handle(), &esc));
    EXPECT_FALSE(journal.Visible());
}

}  // namespace
}  // namespace korvex::test
