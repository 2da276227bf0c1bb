// Start-up: finding the mail client and its mailboxes, and loading the address book.

#include "FormFixture.h"
#include "UniqueResource.h"

namespace korvex::test {
namespace {

using ui::MessageButtons;
using ui::MessageIcon;
using ui::MessageResult;

TEST(ReadMailClient, TakesTheValuesNamedUserHashInRegistryOrder) {
    TestRegistryKey reg(L"client");
    reg.SetText(L"", L"EXE path", L"C:\\Program Files\\The Bat!\\thebat64.exe");
    // Created in name order, which is also the order Wine's registry lists them in.
    reg.SetText(L"Users depot", L"Count", L"4");
    reg.SetText(L"Users depot", L"User #0", L"Office");
    reg.SetText(L"Users depot", L"User #1", L"Home");
    reg.SetText(L"Users depot", L"user #4", L"lower case is not taken");
    reg.SetText(L"Users depot", L"User #5", L"Office");
    reg.SetText(L"Users depot", L"Zone User #3", L"Archive");
    const auto info = ReadMailClient(HKEY_CURRENT_USER, reg.Path());
    EXPECT_TRUE(info.found);
    EXPECT_EQ(info.exePath, L"C:\\Program Files\\The Bat!\\thebat64.exe");
    EXPECT_EQ(info.mailboxes, (std::vector<std::wstring>{L"Office", L"Home", L"Office", L"Archive"}));
    EXPECT_FALSE(info.badValue);
}

TEST(ReadMailClient, MissingKeyEmptyPathAndWrongTypes) {
    EXPECT_FALSE(ReadMailClient(HKEY_CURRENT_USER, L"Software\\KorvexTests\\no-such-key").found);

    TestRegistryKey empty(L"empty");
    empty.SetText(L"", L"EXE path", L"");
    EXPECT_FALSE(ReadMailClient(HKEY_CURRENT_USER, empty.Path()).found);

    TestRegistryKey noDepot(L"nodepot");
    noDepot.SetText(L"", L"EXE path", L"C:\\bat.exe");
    const auto plain = ReadMailClient(HKEY_CURRENT_USER, noDepot.Path());
    EXPECT_TRUE(plain.found);
    EXPECT_TRUE(plain.mailboxes.empty());

    TestRegistryKey badExe(L"badexe");
    badExe.SetDword(L"", L"EXE path", 7);
    const auto bad = ReadMailClient(HKEY_CURRENT_USER, badExe.Path());
    EXPECT_EQ(bad.badValue, L"EXE path");
    EXPECT_TRUE(bad.exePath.empty());

    TestRegistryKey badBox(L"badbox");
    badBox.SetText(L"", L"EXE path", L"C:\\bat.exe");
    badBox.SetText(L"Users depot", L"User #0", L"Office");
    badBox.SetDword(L"Users depot", L"User #1", 1);
    badBox.SetText(L"Users depot", L"User #2", L"Home");
    const auto partial = ReadMailClient(HKEY_CURRENT_USER, badBox.Path());
    EXPECT_EQ(partial.badValue, L"User #1");
    EXPECT_EQ(partial.mailboxes, std::vector<std::wstring>{L"Office"});
}

using Startup = FormFixture;

TEST_F(Startup, NoClientShowsTheErrorBoxAndEndsTheProgram) {
    WriteAddressBook("a@example.com\n");
    EXPECT_FALSE(CreateForm());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].caption, L"Error");
    EXPECT_EQ(prompter.shown[0].text, L"TheBAT! не найден!");
    EXPECT_EQ(prompter.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(prompter.shown[0].buttons, MessageButtons::Ok);
}

TEST_F(Startup, WrongValueTypeReachesTheErrorBoxAndTheWindowStillOpens) {
    RegisterClient({{L"User #0", L"Office"}});
    reg.SetDword(L"Users depot", L"User #1", 2);
    WriteAddressBook("a@example.com\n");
    ASSERT_TRUE(CreateForm());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, L"Invalid data type for 'User #1'");
    EXPECT_EQ(form->ComboAccaunts.ItemCount(), 1);
    EXPECT_EQ(form->ListViewAdress.Count(), 0);  // the address book step was skipped
    EXPECT_EQ(form->ComboAccaunts.Text(), L"ComboAccaunts");
}

TEST_F(Startup, MailboxesFillTheListAndKeepTheTypedText) {
    RegisterClient({{L"User #0", L"Рабочий ящик"}, {L"User #1", L"Home"}});
    WriteAddressBook("");
    ASSERT_TRUE(CreateForm());
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(form->ClientExePath(), FakeBatPath());
    ASSERT_EQ(form->ComboAccaunts.ItemCount(), 2);
    EXPECT_EQ(form->ComboAccaunts.Item(0), L"Рабочий ящик");
    EXPECT_EQ(form->ComboAccaunts.Text(), L"ComboAccaunts");
    EXPECT_EQ(form->EditSubj1.Text(), L"Чертежи (часть %i / %n)");
    EXPECT_EQ(form->Text(), L"Korvex 0.2");
}

TEST_F(Startup, MissingAddressBookAsksWhetherToGoOn) {
    RegisterClient();
    prompter.answers = {MessageResult::No};
    EXPECT_FALSE(CreateForm());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].caption, L"Warning");
    EXPECT_EQ(prompter.shown[0].text, L"Файл \"adress.txt\" не найден!\r\nПродолжить работу?");
    EXPECT_EQ(prompter.shown[0].buttons, MessageButtons::YesNo);

    prompter.answers = {MessageResult::Yes};
    EXPECT_TRUE(CreateForm());
    EXPECT_EQ(form->ListViewAdress.Count(), 0);
    prompter.answers = {MessageResult::Cancel};  // closed without an answer: goes on
    EXPECT_TRUE(CreateForm());
}

TEST_F(Startup, AddressBookEntriesAndSelection) {
    RegisterClient();
    WriteAddressBook("\"Иван Петров\" <ivan@example.ru>\r\n\r\nokb@example.ru");
    ASSERT_TRUE(CreateForm());
    ASSERT_EQ(form->ListViewAdress.Count(), 3);
    EXPECT_EQ(form->ListViewAdress.ItemText(0), L"Иван Петров <ivan@example.ru>");
    EXPECT_EQ(form->ListViewAdress.ItemText(1), L"");
    EXPECT_EQ(form->ListViewAdress.ItemText(2), L"okb@example.ru");

    form->ListViewAdress.Select(2);
    EXPECT_EQ(form->EditAdress.Text(), L"okb@example.ru");
    form->ListViewAdress.Select(0);
    EXPECT_EQ(form->EditAdress.Text(), L"Иван Петров <ivan@example.ru>");
    form->ListViewAdress.ClearSelection();
    EXPECT_EQ(form->EditAdress.Text(), L"Иван Петров <ivan@example.ru>");
    form->ListViewAdress.Select(1);
    EXPECT_EQ(form->EditAdress.Text(), L"");
}

TEST_F(Startup, UnreadableAddressBookReachesTheErrorBox) {
    RegisterClient();
    WriteAddressBook("a@x\n");
    // Hold the file open without sharing, so that reading it is refused.
    {
        const platform::UniqueFile held(
            CreateFileW((exeDir / L"adress.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_TRUE(CreateForm());
    }
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].text.find(L"adress.txt"), std::wstring::npos);
    EXPECT_EQ(prompter.shown[0].icon, MessageIcon::Error);
}

// The window's own texts and the send list's settings, as the window shows them.
TEST_F(Startup, TheWindowsOwnTextsAndTheSendListsSettings) {
    CreateReadyForm();
    using Align = ui::Panel::CaptionAlign;
    const struct {
        const ui::Panel& panel;
        std::wstring text;
        Align align;
    } panels[] = {
        {form->Panel8, L"Название ящика:", Align::Right},
        {form->Panel5, L"Тема:", Align::Right},
        {form->PanelPath, form->FrameFileExlore.QFileExplorer.Directory(), Align::Center},  // the shown folder
    };
    for (const auto& p : panels) {
        EXPECT_EQ(WindowText(p.panel.Handle()), p.text);
        EXPECT_EQ(p.panel.GetCaptionAlign(), p.align) << WindowText(p.panel.Handle());
    }
    const std::pair<HWND, const wchar_t*> captions[] = {
        {form->CheckBoxEdit.Handle(), L"Редактировать"}, {form->btMakeQuery.Handle(), L"Отправить"},
        {form->btAddAll.Handle(), L"Добавить все"},      {form->btAddFiles.Handle(), L"Добавить"},
        {form->btClear.Handle(), L"Очистить"},
    };
    for (const auto& [window, caption] : captions) EXPECT_EQ(WindowText(window), caption);

    const HWND list = form->ListViewFiles.Handle();
    std::vector<std::wstring> columns;
    for (int i = 0;; ++i) {
        wchar_t text[64] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = 64;
        if (!ListView_GetColumn(list, i, &column)) break;
        columns.emplace_back(text);
    }
    EXPECT_EQ(columns, (std::vector<std::wstring>{L"Имя файла", L"Путь", L"Размер", L"Отправлено"}));
    const auto style = static_cast<DWORD>(GetWindowLongW(list, GWL_STYLE));
    EXPECT_EQ(style & LVS_TYPEMASK, static_cast<DWORD>(LVS_REPORT));
    EXPECT_FALSE(style & LVS_NOCOLUMNHEADER);  // the header is shown
    EXPECT_FALSE(style & LVS_SINGLESEL);       // several entries selectable
    EXPECT_FALSE(style & LVS_EDITLABELS);      // no caption editing
    const DWORD extended = ListView_GetExtendedListViewStyle(list);
    EXPECT_TRUE(extended & LVS_EX_GRIDLINES);
    EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);
}

}  // namespace
}  // namespace korvex::test
