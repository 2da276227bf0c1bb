// Which files a press of "Отправить" sends and with which numbers, once some went already: the rest
// of a send keeps the numbers it began with whatever was added or removed since, files added later
// are numbered among themselves, and every address the files went to is remembered. And what a
// send does when the disk or the files change under it: a file gone before its start is not
// handed over, a record of the send that cannot be written stops the send, one that cannot be read
// at the next start is kept.

#include "SendFixture.h"

#include <commctrl.h>

#include "FileSystem.h"
#include "SavedSend.h"
#include "SendJournal.h"

namespace korvex::test {
namespace {

class SendSets : public SendFixture {
protected:
    std::vector<std::wstring> commands;
    std::function<void()> duringStart;  // runs inside each start, after its command was taken

    void OpenWindow(TMainFormConfig config = {}, bool withConfig = false) {
        RegisterClient({{L"User #0", L"Office"}});
        WriteAddressBook("a@example.com\r\n");
        TMainFormConfig c = withConfig ? std::move(config) : Config();
        c.startProcess = [this](std::wstring_view, std::wstring_view command) -> StartOutcome {
            commands.emplace_back(command);
            if (duringStart) duringStart();
            return {};
        };
        ASSERT_TRUE(FormFixture::CreateForm(std::move(c)));
        form->Show(SW_SHOWNORMAL);
    }
    void AddNamed(std::initializer_list<std::wstring> names) {
        AddFiles(names);
        Fill(L"Office", L"a@example.com", L"s %i/%n");
    }
    // The attachment and subject of each start so far, as "name i/n".
    std::vector<std::wstring> Sent() const {
        std::vector<std::wstring> sent;
        for (const auto& command : commands) {
            const auto a = command.find(L"A=\"") + 3, s = command.find(L"S=\"") + 3;
            const std::wstring path = command.substr(a, command.find(L'"', a) - a);
            const std::wstring subject = command.substr(s, command.find(L'"', s) - s);
            sent.push_back(path.substr(path.rfind(L'\\') + 1) + L" " + subject.substr(2));
        }
        return sent;
    }
    void EscAfter(std::size_t starts) {
        duringStart = [this, starts] {
            if (commands.size() == starts) PostMessageW(form->ListViewFiles.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        };
    }
    void Remove(int row) {
        ListView_SetItemState(form->ListViewFiles.Handle(), -1, 0, LVIS_SELECTED);
        ListView_SetItemState(form->ListViewFiles.Handle(), row, LVIS_SELECTED, LVIS_SELECTED);
        form->ListViewFilesKeyDown(VK_DELETE);
    }
    std::vector<std::vector<std::wstring>> Journal() const {
        return ParseJournal(platform::ReadFileBytes(form->JournalPath()));
    }
};

TEST_F(SendSets, TheRestGoesWithItsFirstNumbersAndFilesAddedLaterAreNumberedAmongThemselves) {
    OpenWindow();
    AddNamed({L"a", L"b", L"c", L"d", L"e", L"f"});
    EscAfter(3);
    Press();
    ASSERT_EQ(Sent(), (std::vector<std::wstring>{L"a 1/6", L"b 2/6", L"c 3/6"}));
    duringStart = {};

    Remove(1);           // a sent one goes
    AddFiles({L"new"});  // and one comes that was not in that send
    commands.clear();
    prompter.shown.clear();
    Press();  // unanswered: "Оставшиеся"
    ASSERT_GE(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].choices, (std::vector<std::wstring>{L"Оставшиеся", L"Все заново", L"Отмена"}));
    EXPECT_NE(prompter.shown[0].text.find(L"из 6"), std::wstring::npos) << prompter.shown[0].text;
    EXPECT_EQ(Sent(), (std::vector<std::wstring>{L"d 4/6", L"e 5/6", L"f 6/6"}));

    // The file added later goes alone, as a set of its own.
    commands.clear();
    prompter.shown.clear();
    Press();  // unanswered: "Новые"
    ASSERT_GE(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].choices, (std::vector<std::wstring>{L"Новые", L"Все заново", L"Отмена"}));
    EXPECT_EQ(Sent(), (std::vector<std::wstring>{L"new 1/1"}));

    // Everything went: the next press asks before sending it all again.
    commands.clear();
    prompter.shown.clear();
    Press();  // unanswered: "Отмена"
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.shown[0].text.starts_with(L"Эти файлы уже отправлены")) << prompter.shown[0].text;
    EXPECT_TRUE(commands.empty());

    // The journal numbers each start as its subject does.
    const auto journal = Journal();
    ASSERT_EQ(journal.size(), 7u);
    EXPECT_EQ(journal[3][6], L"4/6");
    EXPECT_EQ(journal[6][6], L"1/1");
}

TEST_F(SendSets, FilesSentToAThenBAreAskedAboutWhenSentToAAgain) {
    OpenWindow();
    AddNamed({L"a", L"b"});
    Press();
    form->EditAdress.SetText(L"b@example.com");
    Press();
    ASSERT_EQ(commands.size(), 4u);
    EXPECT_TRUE(prompter.shown.empty());
    form->EditAdress.SetText(L"a@example.com");
    Press();  // unanswered: "Отмена"
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.shown[0].text.starts_with(L"Эти файлы уже отправлены")) << prompter.shown[0].text;
    EXPECT_NE(prompter.shown[0].text.find(L"a@example.com"), std::wstring::npos);
    EXPECT_EQ(commands.size(), 4u);
    // Another mailbox is another send.
    prompter.shown.clear();
    form->ComboAccaunts.SetText(L"Home");
    Press();
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(commands.size(), 6u);
}

TEST_F(SendSets, AFileGoneBeforeItsOwnStartIsNotHandedOverAndIsNamed) {
    OpenWindow();
    AddNamed({L"a", L"b", L"c"});
    duringStart = [this] {
        if (commands.size() == 1) DeleteFileW((files / L"c").c_str());
    };
    Press();
    EXPECT_EQ(Sent(), (std::vector<std::wstring>{L"a 1/3", L"b 2/3"}));
    EXPECT_EQ(form->SendEntries()[2].mark.text, L"ошибка: файл не найден");
    EXPECT_EQ(form->SendEntries()[2].mark.state, SentState::Failed);
    const auto journal = Journal();
    ASSERT_EQ(journal.size(), 3u);
    EXPECT_EQ(journal[2][7], L"ошибка: файл не найден");
    EXPECT_EQ(journal[2][6], L"3/3");
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].icon, ui::MessageIcon::Error);
    EXPECT_NE(prompter.shown[0].text.find(files / L"c"), std::wstring::npos) << prompter.shown[0].text;
}

// A full disk is stood in for by the window's fault hook: Wine gives no small file system here.
TEST_F(SendSets, ARecordOfTheSendThatCannotBeWrittenStopsTheSendAfterThatStart) {
    std::size_t writes = 0;
    std::size_t failAt = 0;  // the write that fails: 1 is the record's first, then one per start
    TMainFormConfig config = Config();
    config.recordWriteFault = [&]() -> DWORD { return ++writes == failAt ? ERROR_DISK_FULL : 0; };
    OpenWindow(std::move(config), true);
    AddNamed({L"a", L"b", L"c", L"d"});

    failAt = 3;  // the second start's line
    Press();
    EXPECT_EQ(Sent(), (std::vector<std::wstring>{L"a 1/4", L"b 2/4"}));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].text.find(L"Запись хода отправки"), std::wstring::npos) << prompter.shown[0].text;
    EXPECT_NE(prompter.shown[0].text.find(L"остановлена"), std::wstring::npos) << prompter.shown[0].text;

    // The record cannot be written before the first start: asked, and "Отмена" starts nothing.
    commands.clear();
    prompter.shown.clear();
    writes = 0;
    failAt = 1;
    prompter.answers = {ui::ChoiceResult(0)};  // "Оставшиеся"; then the record's question unanswered
    Press();
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[1].choices, (std::vector<std::wstring>{L"Отправить без записи", L"Отмена"}));
    EXPECT_TRUE(commands.empty());
    // Sending without it is the user's choice.
    prompter.shown.clear();
    writes = 0;
    prompter.answers = {ui::ChoiceResult(0), ui::ChoiceResult(0)};
    Press();
    EXPECT_EQ(Sent(), (std::vector<std::wstring>{L"c 3/4", L"d 4/4"}));
}

TEST_F(SendSets, ARecordThatCannotBeReadNowIsKeptAndSaid) {
    const std::wstring record = exeDir / L"korvex-send.txt";
    WriteBytes(record, SavedSendText({L"Office", L"a@example.com", L"s", false, {{files / L"a", L"s", false, {}}}}));
    {
        // Held by another program that shares nothing.
        const platform::UniqueFile held(
            CreateFileW(record.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        OpenWindow();
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_TRUE(prompter.shown[0].text.starts_with(L"Возможно, прошлая отправка прервана"))
            << prompter.shown[0].text;
    }
    EXPECT_NE(GetFileAttributesW(record.c_str()), INVALID_FILE_ATTRIBUTES);
    // No record at all is no question.
    form.reset();
    DeleteFileW(record.c_str());
    prompter.shown.clear();
    OpenWindow();
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(SendSets, ARestoredSendKeepsItsNumbersThoughTheRecordSpellsOneFileTwiceAndFilesCameSince) {
    for (const wchar_t* name : {L"1", L"3", L"4"}) WriteBytes(files / name, "x");
    SavedSend cut{L"Office", L"a@example.com", L"s %i/%n", false, {}};
    cut.entries = {{files / L"1", L"s 1/4", false, {}, 1, 4},
                   {files / L".\\1", L"s 2/4", false, {}, 2, 4},  // the same file, spelt by hand
                   {files / L"3", L"s 3/4", false, {}, 3, 4},
                   {files / L"4", L"s 4/4", false, {}, 4, 4}};
    WriteBytes(exeDir / L"korvex-send.txt", SavedSendText(cut) + StartedLine(1, L"10:00:01"));
    prompter.answers = {ui::ChoiceResult(0)};  // "Восстановить"
    OpenWindow();
    ASSERT_EQ(form->SendEntries().Size(), 3u);
    EXPECT_EQ(form->SendEntries()[0].mark.state, SentState::Started);  // started under its other spelling
    AddFiles({L"later"});  // handed over after the restore: not part of that send

    prompter.shown.clear();
    Press();  // unanswered: "Оставшиеся"
    ASSERT_GE(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.shown[0].text.starts_with(L"Отправлено 1 из 4")) << prompter.shown[0].text;
    EXPECT_EQ(Sent(), (std::vector<std::wstring>{L"3 3/4", L"4 4/4"}));
}

}  // namespace
}  // namespace korvex::test
