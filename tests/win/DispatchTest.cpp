// "Отправить" through the stand-in mail client, whose log is the oracle.

#include "SendFixture.h"

namespace korvex::test {
namespace {

bool FocusIsIn(HWND control) {
    return GetFocus() == control || IsChild(control, GetFocus());
}

class Dispatch : public SendFixture {
protected:
    void SetUp() override {
        SendFixture::SetUp();
        CreateReadySendForm();
    }
};

TEST_F(Dispatch, OneStartPerEntryInListOrder) {
    AddFiles({L"план.dwg", L"разрез.dwg", L"фасад.dwg"});
    Fill(L"Office", L"Иван <ivan@example.ru>", L"Чертежи (часть %i / %n)");
    form->CheckBoxEdit.SetChecked(true);
    Press();
    const auto lines = WaitForFakeBatLog(log, starts);
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
    const auto lines = WaitForFakeBatLog(log, starts);
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
    std::size_t counted = 0;
    // Count starts instead of running the client: nothing may start in any of these cases.
    form.reset();
    ASSERT_TRUE(CreateSendForm([&](std::wstring_view, std::wstring_view) -> std::uint32_t { return ++counted, 0u; }));

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
    EXPECT_EQ(counted, 0u);

    // Blanks are text: an address of three blanks passes. A file that is gone is asked about and
    // left out; the one that is there is sent.
    AddFiles({L"x.dwg", L"y.dwg"});
    DeleteFileW((files / L"x.dwg").c_str());
    Fill(L"typed by hand", L"   ", L"s");
    prompter.answers = {ui::ChoiceResult(0)};
    Press();
    EXPECT_EQ(counted, 1u);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.shown[0].text.starts_with(L"Не найдены файлы"));
}

TEST_F(Dispatch, FailedStartsAreReportedOnceAndEveryStartIsTried) {
    std::size_t tried = 0;
    form.reset();
    ASSERT_TRUE(CreateSendForm([&](std::wstring_view, std::wstring_view) -> std::uint32_t {
        return ++tried == 2 ? ERROR_ACCESS_DENIED : 0u;
    }));
    AddFiles({L"a.dwg", L"b.dwg", L"c.dwg"});
    Fill(L"Office", L"a@b", L"s");
    Press();
    EXPECT_EQ(tried, 3u);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].text.find(L"для 1 из 3 файлов"), std::wstring::npos);
    EXPECT_NE(prompter.shown[0].text.find(FakeBatPath()), std::wstring::npos);
}

}  // namespace
}  // namespace korvex::test
