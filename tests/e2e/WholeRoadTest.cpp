// korvex.exe as a process, the whole way a user takes it: browse into a folder with the keyboard,
// select its files, add them, pick an address, send, close, and find everything again at the
// next start.

#include "MainFormIds.h"
#include "ProcessFixture.h"
#include "SharedInput.h"

#include <commctrl.h>

#include "Utf8.h"

namespace korvex::test {
namespace {

// The window among parent's descendants with this class and caption (read with WM_GETTEXT).
HWND FindByCaption(HWND parent, const wchar_t* className, const std::wstring& caption) {
    return FindDescendant(parent, [&](HWND w) { return ClassOf(w) == className && WindowText(w) == caption; });
}

constexpr int kToolButtonViewStyle = 0x103;  // the explorer frame's view button

int ItemCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}
int SelectedCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
}
LONG_PTR ListStyle(HWND list) {
    return GetWindowLongPtrW(list, GWL_STYLE) & LVS_TYPEMASK;
}

class WholeRoad : public KorvexProcess {
protected:
    std::wstring log;
    std::wstring savedLog;
    bool hadLog = false;

    void SetUp() override {
        KorvexProcess::SetUp();
        if (HasFatalFailure()) return;
        // The stand-in, started by the program, writes where this test reads.
        wchar_t previous[32768] = {};
        hadLog = GetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", previous, 32768) > 0;
        savedLog = previous;
        log = dir / L"fakebat-log.jsonl";
        SetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", log.c_str());
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", hadLog ? savedLog.c_str() : nullptr);
        KorvexProcess::TearDown();
    }

    bool WaitForPanelCaption(HWND main, const std::wstring& caption) {
        if (WaitFor([&] { return FindByCaption(main, L"KorvexPanel", caption) != nullptr; })) return true;
        std::wstring seen;
        EnumChildWindows(
            main,
            [](HWND w, LPARAM p) -> BOOL {
                if (ClassOf(w) == L"KorvexPanel" && !WindowText(w).empty())
                    *reinterpret_cast<std::wstring*>(p) += L" \"" + WindowText(w) + L"\"";
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&seen));
        ADD_FAILURE() << "no panel says " << EncodeUtf8(caption) << "; captions:" << EncodeUtf8(seen);
        return false;
    }
    static HWND ExplorerList(HWND main) {
        const HWND frame = FindDescendant(main, L"KorvexExplorerFrame");
        return frame ? FindDescendant(frame, L"SysListView32") : nullptr;
    }
};

TEST_F(WholeRoad, BrowseSelectAddSendCloseAndFindItAllAgain) {
    RegisterClient();
    RegisterMailbox(L"User #0", L"Office");
    RegisterMailbox(L"User #1", L"Home");
    WriteBytes(dir / L"adress.txt", "ivan@example.ru\r\npetr@example.ru\r\n");
    const std::wstring root = dir / L"work\\";
    const std::wstring drawings = root + L"Чертежи\\";
    MakeDir(root);
    MakeDir(root + L"Архив");
    WriteBytes(root + L"readme.txt", "x");
    MakeDir(drawings);
    const std::vector<std::wstring> names{L"01 план.dwg", L"02 разрез.dwg", L"03 фасад.pdf"};
    for (const auto& name : names) WriteBytes(drawings + name, "drawing");
    WriteIni(L"[Main]\r\nPath=" + root + L"\r\nBox=Home\r\nViewStyle=2\r\n");

    const HWND main = StartMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitForPanelCaption(main, root))
        << "the path line never showed " << std::string(root.begin(), root.end());
    const HWND explorer = ExplorerList(main);
    ASSERT_NE(explorer, nullptr);
    ASSERT_TRUE(WaitFor([&] { return ItemCount(explorer) == 3; })) << ItemCount(explorer);

    {
        SharedInput input(main);
        ASSERT_TRUE(input.Attached());
        SetFocus(explorer);
        EXPECT_TRUE(WaitFor([&] { return GetFocus() == explorer; }));

        // Type-ahead finds the folder by its first letter; Enter goes into it.
        PostMessageW(explorer, WM_CHAR, L'ч', 1);
        ASSERT_TRUE(WaitFor([&] { return SelectedCount(explorer) == 1; }));
        EXPECT_TRUE(WaitFor([&] { return SendMessageW(explorer, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == 1; }))
            << "selected " << SendMessageW(explorer, LVM_GETNEXTITEM, -1, LVNI_SELECTED);
        PressKey(explorer, VK_RETURN);
        ASSERT_TRUE(WaitForPanelCaption(main, drawings));
        ASSERT_TRUE(WaitFor([&] { return ItemCount(explorer) == 3; })) << ItemCount(explorer);

        // Home, then Shift+End: every file (the list answers no Ctrl+A of its own under Wine).
        PressKey(explorer, VK_HOME);
        ASSERT_TRUE(WaitFor([&] { return SendMessageW(explorer, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == 0; }));
        input.Hold({VK_SHIFT, VK_LSHIFT});
        PressKey(explorer, VK_END);
        const bool all = WaitFor([&] { return SelectedCount(explorer) == 3; });
        input.Hold({});
        ASSERT_TRUE(all) << SelectedCount(explorer) << " selected after Shift+End";
    }

    const HWND add = FindByCaption(main, L"KorvexSpeedButton", L"Добавить");
    ASSERT_NE(add, nullptr);
    PostMessageW(add, BM_CLICK, 0, 0);
    const HWND sendList = FindDescendant(main, L"SysListView32", kIdListViewFiles);
    ASSERT_NE(sendList, nullptr);
    ASSERT_TRUE(WaitFor([&] { return ItemCount(sendList) == 3; })) << ItemCount(sendList) << " in the send list";

    // The first row of the address list, taken by the keyboard, goes to the address line.
    const HWND addresses = FindDescendant(main, L"SysListView32", kIdListViewAdress);
    const HWND address = FindDescendant(main, L"Edit", kIdEditAdress);
    ASSERT_NE(addresses, nullptr);
    ASSERT_NE(address, nullptr);
    PressKey(addresses, VK_HOME);
    ASSERT_TRUE(WaitFor([&] { return WindowText(address) == L"ivan@example.ru"; })) << WindowText(address).size();

    const HWND send = FindByCaption(main, L"KorvexSpeedButton", L"Отправить");
    ASSERT_NE(send, nullptr);
    PostMessageW(send, BM_CLICK, 0, 0);
    const auto lines = WaitForFakeBatLog(log, names.size());
    ASSERT_EQ(lines.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines[i].at("ok"), L"true");
        EXPECT_EQ(lines[i].at("account"), L"Home");
        EXPECT_EQ(lines[i].at("to"), L"ivan@example.ru");
        EXPECT_EQ(lines[i].at("attachments"), drawings + names[i]);
        EXPECT_EQ(lines[i].at("subject"), L"Чертежи (часть " + std::to_wstring(i + 1) + L" / 3)");
        EXPECT_EQ(lines[i].count("flags") ? lines[i].at("flags") : L"", L"");
    }

    // The view button turns the list to details; the window is moved and sized.
    const HWND frame = FindDescendant(main, L"KorvexExplorerFrame");
    const HWND toolbar = FindDescendant(frame, L"ToolbarWindow32");
    ASSERT_NE(toolbar, nullptr);
    PostMessageW(frame, WM_COMMAND, MAKEWPARAM(kToolButtonViewStyle, BN_CLICKED), reinterpret_cast<LPARAM>(toolbar));
    ASSERT_TRUE(WaitFor([&] { return ListStyle(explorer) == LVS_REPORT; }));
    SetWindowPos(main, nullptr, 60, 50, 820, 610, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitFor([&] {
        const RECT r = RectOf(main);
        return r.left == 60 && r.top == 50 && r.right - r.left == 820 && r.bottom - r.top == 610;
    }));

    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForExit(), 0u);
    const std::vector<std::pair<std::wstring, std::wstring>> expected{
        {L"Path", drawings}, {L"Box", L"Home"},     {L"ViewStyle", L"3"}, {L"Subject", L"Чертежи (часть %i / %n)"},
        {L"Edit", L"0"},     {L"Left", L"60"},      {L"Top", L"50"},      {L"Width", L"820"},
        {L"Height", L"610"}, {L"WindowState", L"0"}};
    EXPECT_EQ(MainKeys(), expected);
    EXPECT_EQ(ReadFakeBatLog(log).size(), names.size()) << "a stand-in started after the send";

    // The next start finds it all as it was left.
    Start();
    const HWND again = WaitForWindow(pid, L"KorvexMainForm");
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(WaitForPanelCaption(again, drawings));
    const HWND explorerAgain = ExplorerList(again);
    ASSERT_NE(explorerAgain, nullptr);
    EXPECT_TRUE(WaitFor([&] { return ItemCount(explorerAgain) == 3; }));
    EXPECT_EQ(ListStyle(explorerAgain), LVS_REPORT);
    EXPECT_EQ(WindowText(FindDescendant(again, L"Edit", kIdEditSubj1)), L"Чертежи (часть %i / %n)");
    EXPECT_EQ(WindowText(FindDescendant(again, L"ComboBox")), L"Home");
    const RECT r = RectOf(again);
    EXPECT_EQ(r.left, 60);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.right - r.left, 820);
    EXPECT_EQ(r.bottom - r.top, 610);
    PostMessageW(again, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(), 0u);
}

}  // namespace
}  // namespace korvex::test
