// A send to a single-instance client, as the real one behaves: one start at a time, in list order,
// each settled before the next; what was sent is marked, journaled, and a send cut short is finished
// with the numbering it began with. The stand-in's log, in the order the client took the commands,
// is the oracle.

#include <algorithm>

#include "LogLock.h"
#include "Process.h"
#include "SendFixture.h"
#include "SavedSend.h"
#include "SendJournal.h"
#include "Utf8.h"

namespace korvex::test {
namespace {

constexpr wchar_t kStartupMs[] = L"1500";  // how long the stand-in client takes to come up

std::wstring SheetName(std::size_t i) {
    wchar_t name[32];
    swprintf(name, 32, L"лист %02zu.dwg", i + 1);
    return name;
}

class SendOrder : public SendFixture {
protected:
    std::vector<std::wstring> names;

    void SetUp() override {
        SendFixture::SetUp();
        SetEnvironmentVariableW(L"KORVEX_FAKEBAT_SINGLE", kStartupMs);
    }
    void TearDown() override {
        CloseClient();
        SetEnvironmentVariableW(L"KORVEX_FAKEBAT_SINGLE", nullptr);
        SendFixture::TearDown();
    }

    HWND ClientWindow() const { return FindWindowW(kFakeBatClientClass, FakeBatClientTitle(log).c_str()); }
    // Ends the running stand-in client of this test's log, if one runs, and waits until it is gone.
    void CloseClient() {
        if (const HWND client = ClientWindow()) {
            DWORD pid = 0;
            GetWindowThreadProcessId(client, &pid);
            const platform::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
            PostMessageW(client, WM_CLOSE, 0, 0);
            if (process) WaitForSingleObject(process.get(), 30000);
        }
    }
    // Brings the client up with a command of its own and waits until it takes commands.
    void StartClient() {
        const std::wstring command = FakeBatPath() + L" /MAILU=Warm;TO=\"w@x\";A=\"warm.dwg\";S=\"warm\"";
        ASSERT_EQ(platform::StartProcess(FakeBatPath(), command), 0u);
        ASSERT_TRUE(WaitFor([&] { return ClientWindow() != nullptr; }));
    }

    // The window with the product's own start: each start settled before the next.
    void CreateForm(ProcessStarter starter = {}, DWORD boundMs = 20000) {
        RegisterClient({{L"User #0", L"Office"}});
        WriteAddressBook("a@example.com\r\n");
        TMainFormConfig config = Config();
        config.startProcess = std::move(starter);
        config.startBoundMs = boundMs;
        ASSERT_TRUE(FormFixture::CreateForm(std::move(config)));
        form->Show(SW_SHOWNORMAL);
    }
    void AddSheets(std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            names.push_back(SheetName(i));
            WriteBytes(files / names.back(), std::string(i + 1, 'x'));
            form->AddPath(files / names.back(), false);
        }
        Fill(L"Office", L"Иван <ivan@example.ru>", L"Чертежи (часть %i / %n)");
    }

    // The log's lines in the order the client took them, once count lines are there (bounded).
    std::vector<LogLine> LogInArrivalOrder(std::size_t count) {
        std::vector<LogLine> lines;
        WaitFor([&] { return (lines = ReadFakeBatLog(log)).size() >= count; }, std::chrono::seconds(90));
        return lines;
    }
    // Whether the lines (after skip of them) are the sheets, each once, in list order, none lost.
    static ::testing::AssertionResult CompleteAndInOrder(const std::vector<LogLine>& lines, std::size_t skip,
                                                         const std::vector<std::wstring>& paths) {
        std::vector<std::wstring> got;
        for (std::size_t i = skip; i < lines.size(); ++i) {
            if (lines[i].count("lost")) return ::testing::AssertionFailure() << "a command was lost: line " << i;
            got.push_back(lines[i].at("attachments"));
        }
        if (got == paths) return ::testing::AssertionSuccess();
        auto failure = ::testing::AssertionFailure() << got.size() << " of " << paths.size() << " lines; order:";
        for (const auto& path : got) {
            const auto at = std::find(paths.begin(), paths.end(), path);
            failure << " " << (at == paths.end() ? -1 : at - paths.begin() + 1);
        }
        return failure;
    }
    std::vector<std::wstring> SheetPaths() const {
        std::vector<std::wstring> paths;
        for (const auto& name : names) paths.push_back(files / name);
        return paths;
    }
    std::vector<std::vector<std::wstring>> Journal() const {
        try {
            return ParseJournal(platform::ReadFileBytes(form->JournalPath()));
        } catch (const std::exception&) {
            return {};
        }
    }
};

// 50 files arrive complete and in list order whether the client has to come up first or runs
// already; the old loop, which started every client at once, loses that order.
TEST_F(SendOrder, FiftyFilesArriveCompleteAndInListOrderOneStartAtATime) {
    constexpr std::size_t kFiles = 50;
    for (const bool running : {false, true}) {
        SCOPED_TRACE(running ? "client running" : "client not running");
        DeleteFileW(log.c_str());
        names.clear();
        form.reset();
        CreateForm();
        if (running) StartClient();
        AddSheets(kFiles);
        Press();
        EXPECT_TRUE(prompter.shown.empty()) << (prompter.shown.empty() ? "" : EncodeUtf8(prompter.shown.front().text));
        const std::size_t skip = running ? 1 : 0;
        const auto lines = LogInArrivalOrder(kFiles + skip);
        EXPECT_TRUE(CompleteAndInOrder(lines, skip, SheetPaths()));
        for (std::size_t i = 0; i + skip < lines.size() && i < kFiles; ++i)
            EXPECT_EQ(lines[i + skip].at("subject"), L"Чертежи (часть " + std::to_wstring(i + 1) + L" / 50)");
        // Once the send is over its record is gone, and the journal holds one line per start.
        EXPECT_EQ(GetFileAttributesW(form->SavedSendPath().c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(Journal().size(), kFiles);
        CloseClient();
        DeleteFileW(form->JournalPath().c_str());
    }
}

TEST_F(SendOrder, TheOldStartEverythingAtOnceLoopLosesTheOrder) {
    constexpr std::size_t kFiles = 50;
    CreateForm();
    AddSheets(kFiles);
    const SendPlan plan = PlanSend({FakeBatPath(), L"Office", L"a@b", L"s %i", false}, form->SendEntries().Entries());
    for (const bool running : {false, true}) {
        SCOPED_TRACE(running ? "client running" : "client not running");
        DeleteFileW(log.c_str());
        if (running) StartClient();
        // The loop as it was: every start at once, none waited for.
        // Fifty processes at once are more than Wine always takes: a start it refuses is a file lost
        // all the same, so only the started ones are waited for.
        StartRecorder loop;
        for (const auto& command : plan.commands) loop.Start(plan.application, command);
        ReportRefusedStarts(loop);
        const std::size_t skip = running ? 1 : 0;
        EXPECT_FALSE(CompleteAndInOrder(LogInArrivalOrder(loop.Started() + skip), skip, SheetPaths()));
        CloseClient();
    }
}

TEST_F(SendOrder, EscStopsAfterTheCurrentStartAndTheRestGoesWithItsOwnNumbers) {
    std::size_t made = 0;
    CreateForm([&](std::wstring_view application, std::wstring_view command) -> StartOutcome {
        const auto result = platform::StartAndSettle(application, command, 20000, {});
        if (++made == 4) PostMessageW(form->ListViewFiles.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        return {result.error, result.confirmed};
    });
    AddSheets(10);
    Press();
    ASSERT_EQ(made, 4u);
    ASSERT_EQ(prompter.shown.size(), 1u);  // the summary of the stopped send
    EXPECT_TRUE(form->SendStatus().starts_with(L"Отправлено 4 из 10")) << form->SendStatus();
    for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(form->SendEntries()[i].mark.state == SentState::Started, i < 4);
    // The send record is gone: the send ended, stopped.
    EXPECT_EQ(GetFileAttributesW(form->SavedSendPath().c_str()), INVALID_FILE_ATTRIBUTES);

    prompter.shown.clear();
    prompter.answers = {ui::ChoiceResult(0)};  // "Оставшиеся"
    Press();
    ASSERT_GE(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.shown[0].text.starts_with(L"Отправлено 4 из 10")) << prompter.shown[0].text;
    EXPECT_EQ(prompter.shown[0].choices, (std::vector<std::wstring>{L"Оставшиеся", L"Все заново", L"Отмена"}));
    EXPECT_EQ(made, 10u);
    const auto lines = LogInArrivalOrder(10);
    EXPECT_TRUE(CompleteAndInOrder(lines, 0, SheetPaths()));
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].at("subject"), L"Чертежи (часть " + std::to_wstring(i + 1) + L" / 10)");
    EXPECT_TRUE(form->SendStatus().starts_with(L"Отправлено 10 из 10")) << form->SendStatus();
}

TEST_F(SendOrder, FailedStartsAreMarkedAndSentAgainAsTheRest) {
    std::size_t made = 0;
    CreateForm([&](std::wstring_view application, std::wstring_view command) -> StartOutcome {
        ++made;
        if (made == 3 || made == 7) return ERROR_ACCESS_DENIED;
        const auto result = platform::StartAndSettle(application, command, 20000, {});
        return {result.error, result.confirmed};
    });
    AddSheets(8);
    Press();
    ASSERT_EQ(prompter.shown.size(), 1u);  // "не удалось запустить для 2 из 8"
    const auto& list = form->SendEntries();
    EXPECT_TRUE(list[2].mark.text.starts_with(L"ошибка: ")) << list[2].mark.text;
    EXPECT_EQ(list[2].mark.state, SentState::Failed);
    EXPECT_EQ(list[0].mark.text.size(), 8u);  // "13:37:05"

    // The journal: one line per attempt, the failed ones with the system's reason.
    const auto journal = Journal();
    ASSERT_EQ(journal.size(), 8u);
    EXPECT_EQ(journal[2][7].substr(0, 8), L"ошибка: ");
    EXPECT_EQ(journal[0][7], L"запущен");
    EXPECT_EQ(journal[0][1], L"Office");
    EXPECT_EQ(journal[0][2], L"Иван <ivan@example.ru>");
    EXPECT_EQ(journal[0][3], L"Чертежи (часть 1 / 8)");
    EXPECT_EQ(journal[0][4], files / names[0]);
    EXPECT_EQ(journal[4][5], L"5");  // the size in bytes
    EXPECT_EQ(journal[4][6], L"5/8");

    // "Отправить" again sends the two that failed, with the numbers the first send gave them.
    prompter.shown.clear();
    Press();  // unanswered: the default, "Оставшиеся"
    ASSERT_GE(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.shown[0].text.starts_with(L"Отправлено 6 из 8")) << prompter.shown[0].text;
    const auto lines = LogInArrivalOrder(8);
    ASSERT_EQ(lines.size(), 8u);
    std::vector<std::wstring> subjects;
    for (const auto& line : lines) subjects.push_back(line.at("subject"));
    EXPECT_EQ(subjects[6], L"Чертежи (часть 3 / 8)");
    EXPECT_EQ(subjects[7], L"Чертежи (часть 7 / 8)");
    std::vector<std::wstring> paths;
    for (const auto& line : lines) paths.push_back(line.at("attachments"));
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths, SheetPaths());  // every file once
    EXPECT_EQ(Journal().size(), 10u);
}

TEST_F(SendOrder, ASecondSendOfTheSameFilesIsAskedFirst) {
    CreateForm();
    AddSheets(3);
    Press();
    ASSERT_EQ(LogInArrivalOrder(3).size(), 3u);
    ASSERT_TRUE(prompter.shown.empty());
    EXPECT_TRUE(form->SendStatus().starts_with(L"Отправлено 3 из 3")) << form->SendStatus();

    Press();  // unanswered: the default, "Отмена"
    ASSERT_EQ(prompter.shown.size(), 1u);
    const auto& box = prompter.shown[0];
    EXPECT_EQ(box.caption, L"Korvex");
    EXPECT_TRUE(box.text.starts_with(L"Эти файлы уже отправлены")) << box.text;
    EXPECT_NE(box.text.find(L"ivan@example.ru"), std::wstring::npos);
    EXPECT_NE(box.text.find(form->SendEntries()[2].mark.text), std::wstring::npos);  // the time
    EXPECT_EQ(box.choices, (std::vector<std::wstring>{L"Отправить ещё раз", L"Отмена"}));
    EXPECT_EQ(box.defaultChoice, 1u);
    EXPECT_EQ(ReadFakeBatLog(log).size(), 3u);

    // Another address is another send: no question.
    prompter.shown.clear();
    form->EditAdress.SetText(L"b@example.ru");
    Press();
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(LogInArrivalOrder(6).size(), 6u);

    // Asked and answered "Отправить ещё раз": all again.
    prompter.answers = {ui::ChoiceResult(0)};
    Press();
    EXPECT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(LogInArrivalOrder(9).size(), 9u);

    // Removing an entry keeps the marks of the others and ends the status text.
    ListView_SetItemState(form->ListViewFiles.Handle(), 0, LVIS_SELECTED, LVIS_SELECTED);
    form->ListViewFilesKeyDown(VK_DELETE);
    EXPECT_TRUE(form->SendStatus().empty());
    ASSERT_EQ(form->SendEntries().Size(), 2u);
    EXPECT_EQ(form->SendEntries()[0].mark.state, SentState::Started);
}

TEST_F(SendOrder, AnUnwritableJournalIsAskedAboutOnceBeforeTheFirstStart) {
    CreateForm();
    AddSheets(2);
    MakeDir(form->JournalPath());  // a folder where the journal should be
    Press();                       // unanswered: the default, "Отмена"
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.shown[0].text.starts_with(L"Журнал отправок не удаётся записать")) << prompter.shown[0].text;
    EXPECT_EQ(prompter.shown[0].choices, (std::vector<std::wstring>{L"Отправить без журнала", L"Отмена"}));
    EXPECT_EQ(form->SendEntries()[0].mark.state, SentState::None);
    EXPECT_TRUE(ReadFakeBatLog(log).empty());

    prompter.shown.clear();
    prompter.answers = {ui::ChoiceResult(0)};
    Press();
    EXPECT_EQ(prompter.shown.size(), 1u);  // asked once, nothing after
    EXPECT_TRUE(CompleteAndInOrder(LogInArrivalOrder(2), 0, SheetPaths()));
}

TEST_F(SendOrder, AClientThatDoesNotSettleWithinTheBoundIsAskedAboutOnce) {
    SetEnvironmentVariableW(L"KORVEX_FAKEBAT_SINGLE", L"4000");  // longer than the bound
    CreateForm({}, 300);
    AddSheets(3);
    prompter.answers = {ui::ChoiceResult(1)};  // "Остановить"
    Press();
    ASSERT_GE(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].choices, (std::vector<std::wstring>{L"Продолжить", L"Остановить"}));
    // The start is journaled when the process is made, and its silence when the bound has passed.
    const auto journal = Journal();
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_EQ(journal[0][7], L"запущен");
    EXPECT_EQ(journal[1][7], L"без ответа");
    EXPECT_EQ(journal[1][4], journal[0][4]);
    EXPECT_EQ(form->SendEntries()[0].mark.state, SentState::Started);  // started, though unconfirmed
    EXPECT_EQ(form->SendEntries()[1].mark.state, SentState::None);
    // The client comes up in the end and logs what it was given.
    EXPECT_EQ(LogInArrivalOrder(1).size(), 1u);
}

TEST_F(SendOrder, ASendCutShortIsOfferedBackAtTheNextStartAndFinishedWithItsNumbers) {
    // What a send of four files leaves when the program ends after its first two starts.
    for (std::size_t i = 0; i < 4; ++i) {
        names.push_back(SheetName(i));
        WriteBytes(files / names.back(), "x");
    }
    SavedSend cut{L"Office", L"a@example.com", L"Лист %i из %n", false, {}};
    for (std::size_t i = 0; i < 4; ++i)
        cut.entries.push_back({files / names[i], L"Лист " + std::to_wstring(i + 1) + L" из 4", false, {}});
    const std::wstring record = exeDir / L"korvex-send.txt";
    WriteBytes(record, SavedSendText(cut) + StartedLine(0, L"10:00:01") + StartedLine(1, L"10:00:02"));

    prompter.answers = {ui::ChoiceResult(0)};  // "Восстановить"
    CreateForm();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.shown[0].text.starts_with(L"Прошлая отправка прервана: отправлено 2 из 4"))
        << prompter.shown[0].text;
    EXPECT_EQ(prompter.shown[0].choices, (std::vector<std::wstring>{L"Восстановить", L"Отказаться"}));
    ASSERT_EQ(form->SendEntries().Size(), 4u);
    EXPECT_EQ(form->SendEntries()[1].mark.text, L"10:00:02");
    EXPECT_EQ(form->SendEntries()[2].mark.state, SentState::None);
    EXPECT_EQ(form->EditAdress.Text(), L"a@example.com");
    EXPECT_EQ(form->EditSubj1.Text(), L"Лист %i из %n");

    prompter.shown.clear();
    Press();  // unanswered: "Оставшиеся"
    ASSERT_GE(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.shown[0].text.starts_with(L"Отправлено 2 из 4")) << prompter.shown[0].text;
    const auto lines = LogInArrivalOrder(2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].at("attachments"), files / names[2]);
    EXPECT_EQ(lines[0].at("subject"), L"Лист 3 из 4");
    EXPECT_EQ(lines[1].at("subject"), L"Лист 4 из 4");
    EXPECT_EQ(GetFileAttributesW(record.c_str()), INVALID_FILE_ATTRIBUTES);  // the send has ended

    // "Отказаться" forgets a record; one that cannot be read is said and removed.
    form.reset();
    WriteBytes(record, SavedSendText(cut));
    prompter.shown.clear();
    prompter.answers = {ui::ChoiceResult(1)};
    CreateForm();
    EXPECT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(form->SendEntries().Empty());
    EXPECT_EQ(GetFileAttributesW(record.c_str()), INVALID_FILE_ATTRIBUTES);
    form.reset();
    WriteBytes(record, "korvex-send 1\nmailbox\tOff");
    prompter.shown.clear();
    CreateForm();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.shown[0].text.starts_with(L"Прошлая отправка прервана")) << prompter.shown[0].text;
    EXPECT_EQ(GetFileAttributesW(record.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace korvex::test
