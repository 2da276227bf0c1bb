// The system menu's item "Korvex в меню «Отправить»": the shortcut it writes and removes, read
// back through the shell's link object. In-process it works on a folder of the test's own; the
// process test does the same in the prefix's real Send To folder.

#include "FormFixture.h"
#include "SendToShortcut.h"

namespace korvex::test {
namespace {

class SendTo : public FormFixture {
protected:
    TempDir sendTo;
    std::wstring link = sendTo / L"Korvex.lnk";

    void SetUp() override {
        RegisterClient({{L"User #0", L"Office"}});
        WriteAddressBook("a@example.com\r\n");
        TMainFormConfig config = Config();
        config.sendToFolder = sendTo.Path();
        ASSERT_TRUE(CreateForm(std::move(config)));
        form->Show(SW_SHOWNORMAL);
    }
    // The item's state as the system menu shows it when it opens.
    UINT ItemState() {
        const HMENU menu = GetSystemMenu(form->Handle(), FALSE);
        SendMessageW(form->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, TRUE));
        return GetMenuState(menu, kSysSendTo, MF_BYCOMMAND);
    }
    void Choose() { SendMessageW(form->Handle(), WM_SYSCOMMAND, kSysSendTo, 0); }
};

TEST_F(SendTo, TheItemWritesAShortcutToThisProgramAndRemovesIt) {
    const HMENU menu = GetSystemMenu(form->Handle(), FALSE);
    wchar_t text[128] = {};
    GetMenuStringW(menu, kSysSendTo, text, 128, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"Korvex в меню «Отправить»");
    EXPECT_EQ(ItemState() & (MF_CHECKED | MF_GRAYED), 0u);

    Choose();
    const auto info = platform::ReadShortcut(link);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->target, exeDir / L"korvex.exe");
    EXPECT_EQ(info->arguments, L"") << "Explorer appends the selected files itself";
    EXPECT_EQ(info->workingDirectory, exeDir.Path().substr(0, exeDir.Path().size() - 1));
    EXPECT_FALSE(info->description.empty());
    EXPECT_EQ(ItemState() & MF_CHECKED, static_cast<UINT>(MF_CHECKED));

    Choose();
    EXPECT_EQ(GetFileAttributesW(link.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ItemState() & MF_CHECKED, 0u);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(SendTo, AShortcutOfTheSameNameToAnotherCopyIsReplaced) {
    TempDir otherCopy;
    platform::WriteShortcut(link, otherCopy / L"korvex.exe", L"another copy");
    EXPECT_EQ(ItemState() & MF_CHECKED, 0u);
    Choose();
    const auto info = platform::ReadShortcut(link);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->target, exeDir / L"korvex.exe");
    EXPECT_EQ(ItemState() & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
}

TEST_F(SendTo, AShortcutThatCannotBeWrittenIsReportedAndLeavesTheItemClear) {
    // A folder of that name stands where the shortcut would go.
    MakeDir(link);
    Choose();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].text.find(link), std::wstring::npos) << prompter.shown[0].text;
    EXPECT_EQ(ItemState() & MF_CHECKED, 0u);
}

}  // namespace
}  // namespace korvex::test
