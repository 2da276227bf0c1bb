// "Отправить" through the stand-in mail client, whose log is the oracle.

#include "FormFixture.h"

namespace korvex::test {
namespace {

bool FocusIsIn(HWND control) {
    return GetFocus() == control || IsChild(control, GetFocus());
}

class Dispatch : public FormFixture {
protected:
    std::wstring log;

    void SetUp() override {
        CreateReadyForm();
        log = files / L"fakebat-log.jsonl";
        SetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", log.c_str());
    }
    void TearDown() override { SetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", nullptr); }

    void AddFiles(std::initializer_list<const wchar_t*> names) {
        for (auto name : names) {
            WriteBytes(files / name, "x");
            form->AddPath(files / name, false);
        }
    }
    void Fill(const std::wstring& mailbox, const std::wstring& address, const std::wstring& subject) {
        form->ComboAccaunts.SetText(mailbox);
        form->EditAdress.SetText(address);
        form->EditSubj1.SetText(subject);
    }
    void Press() { SendMessageW(form->btMakeQuery.Handle(), BM_CLICK, 0, 0); }
};

TEST_F(Dispatch, OneStartPerEntryInListOrder) {
    AddFiles({L"план.dwg", L"разрез.dwg", L"фасад.dwg"});
    Fill(L"Office", L"Иван <ivan@example.ru>", L"Чертежи (часть %i / %n)");
    form->CheckBoxEdit.SetChecked(true);
    Press();
    const auto lines = WaitForFakeBatLog(log, 3);
    ASSERT_EQ(lines.size(), 3u);
    const wchar_t* names[] = {L"план.dwg", L"разрез.dwg", L"фасад.dwg"};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines[i].at("ok"), L"true");
        EXPECT_EQ(lines[i].at("program"), FakeBatPath());
        EXPECT_EQ(lines[i].at("account"), L"Office");
        EXPECT_EQ(lines[i].at("to"), L"Иван <ivan@example.ru>");
        EXPECT_EQ(lines[i].at("attachments"), files / names[i]);
        EXPECT_EQ(lines[i].at("subject"), L"Чертежи (часть " + std::to_wstring(i + 1) + L" / 3)");
        EXPECT_EQ(lines[i].at("flags"), L"edit");
        EXPECT_EQ(lines[i].at("raw"), FakeBatPath() + L" /MAILU=Office;TO=\"Иван <ivan@example.ru>\";A=\"" +
                                          (files / names[i]) + L"\";S=\"Чертежи (часть " + std::to_wstring(i + 1) +
                                          L" / 3)\";edit");
    }
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(Dispatch, ValuesThatNeedQuotingArriveIntact) {
    AddFiles({L"it's a plan.dwg"});
    Fill(L"Рабочий ящик", L"\"Иван Петров\" <ivan@example.ru>", L"Say \"hi\"; %n");
    Press();
    const auto lines = WaitForFakeBatLog(log, 1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].at("account"), L"Рабочий ящик");
    EXPECT_EQ(lines[0].at("to"), L"\"Иван Петров\" <ivan@example.ru>");
    EXPECT_EQ(lines[0].at("attachments"), files / L"it's a plan.dwg");
    EXPECT_EQ(lines[0].at("subject"), L"Say \"hi\"; 1");
    EXPECT_EQ(lines[0].at("flags"), L"");
    EXPECT_EQ(lines[0].at("rest"), L"");
}

TEST_F(Dispatch, AnAddressWithBothQuotesStopsBeforeAnyStart) {
    AddFiles({L"a.dwg"});
    Fill(L"Office", L"\"O'Brien\" <ob@example.com>", L"s");
    Press();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].text.find(L"«Адрес»"), std::wstring::npos);
    EXPECT_EQ(GetFocus(), form->EditAdress.Handle());
    EXPECT_TRUE(ReadFakeBatLog(log).empty());
}

TEST_F(Dispatch, EmptyInputsMoveTheFocusInCheckOrder) {
    std::size_t starts = 0;
    // Count starts instead of running the client: nothing may start in any of these cases.
    form.reset();
    TMainFormConfig config;
    config.clientKey = reg.Path();
    config.exePath = exeDir / L"korvex.exe";
    config.prompter = &prompter;
    config.quitOnDestroy = false;
    config.startProcess = [&](std::wstring_view, std::wstring_view) -> std::uint32_t { return ++starts, 0u; };
    form = std::make_unique<TMainForm>(config);
    ASSERT_TRUE(form->Create());
    form->Show(SW_SHOWNORMAL);

    Fill(L"", L"", L"s");
    Press();
    EXPECT_EQ(GetFocus(), form->ListViewAdress.Handle());  // the address is checked first
    Fill(L"", L"a@b", L"s");
    Press();
    EXPECT_TRUE(FocusIsIn(form->ComboAccaunts.Handle()));  // its edit field
    Fill(L"Office", L"a@b", L"");
    Press();
    EXPECT_EQ(GetFocus(), form->EditSubj1.Handle());
    Fill(L"Office", L"a@b", L"s");
    Press();
    EXPECT_EQ(GetFocus(), form->ListViewFiles.Handle());
    EXPECT_EQ(starts, 0u);

    // Blanks are text: an address of three blanks passes, and files that are gone are still sent.
    AddFiles({L"x.dwg", L"y.dwg"});
    DeleteFileW((files / L"x.dwg").c_str());
    Fill(L"typed by hand", L"   ", L"s");
    Press();
    EXPECT_EQ(starts, 2u);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(Dispatch, AMissingClientIsReportedOnceAndEveryStartIsTried) {
    form.reset();
    reg.SetText(L"", L"EXE path", files / L"no-such-client.exe");
    ASSERT_TRUE(CreateForm());
    AddFiles({L"a.dwg", L"b.dwg"});
    Fill(L"Office", L"a@b", L"s");
    Press();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].text.find(L"для 2 из 2 файлов"), std::wstring::npos);
    EXPECT_NE(prompter.shown[0].text.find(L"no-such-client.exe"), std::wstring::npos);
}

}  // namespace
}  // namespace korvex::test
