// korvex.exe as a process: the settings file written at close and read at the next start.

#include "ProcessFixture.h"

namespace korvex::test {
namespace {

using SettingsProcess = KorvexProcess;

TEST_F(SettingsProcess, FirstRunTakesTheFirstMailboxAndTheCloseWritesTheTenKeys) {
    RegisterClient();
    RegisterMailbox(L"User #0", L"Office");
    RegisterMailbox(L"User #1", L"Home");
    WriteBytes(dir / L"adress.txt", "a@example.com\r\n");
    const HWND main = StartMainWindow();
    ASSERT_NE(main, nullptr);
    const HWND combo = FindDescendant(main, L"ComboBox");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(WindowText(combo), L"Office");
    const RECT r = RectOf(main);
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForExit(), 0u);

    EXPECT_EQ(MainKeys(), FirstRunMainSection(r));
}

TEST_F(SettingsProcess, SavedMaximizedOpensMaximizedAndRestoresToTheSavedBounds) {
    RegisterClient();
    WriteBytes(dir / L"adress.txt", "a@example.com\r\n");
    WriteIni(
        L"[Main]\r\nSubject=№ 7\r\nBox=Archive\r\nLeft=90\r\nTop=70\r\nWidth=720\r\nHeight=520\r\n"
        L"WindowState=2\r\n");
    const HWND main = StartMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WaitFor([&] { return IsZoomed(main) != FALSE; }));
    EXPECT_EQ(WindowText(FindDescendant(main, L"ComboBox")), L"Archive");  // a stored name is kept, listed or not
    ShowWindow(main, SW_RESTORE);
    EXPECT_TRUE(WaitFor([&] { return !IsZoomed(main); }));
    const RECT r = RectOf(main);
    EXPECT_EQ(r.left, 90);
    EXPECT_EQ(r.top, 70);
    EXPECT_EQ(r.right - r.left, 720);
    EXPECT_EQ(r.bottom - r.top, 520);
    ShowWindow(main, SW_MAXIMIZE);
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForExit(), 0u);
    // Keys already in the file keep their places; the others are added after them.
    EXPECT_EQ(MainKeys().size(), 10u);
    EXPECT_EQ(Key(L"Subject"), L"№ 7");
    EXPECT_EQ(Key(L"Left"), L"90");
    EXPECT_EQ(Key(L"Top"), L"70");
    EXPECT_EQ(Key(L"Width"), L"720");
    EXPECT_EQ(Key(L"Height"), L"520");
    EXPECT_EQ(Key(L"WindowState"), L"2");
}

TEST_F(SettingsProcess, UnwritableSettingsSayItOnceAndTheProgramEnds) {
    RegisterClient();
    WriteBytes(dir / L"adress.txt", "a@example.com\r\n");
    MakeDir(IniPath());  // a folder of the file's name: as root, read-only files are written anyway
    const HWND main = StartMainWindow();
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_CLOSE, 0, 0);
    AnswerBox(L"Korvex", L"Unable to write to " + IniPath(), {L"OK"}, L"OK");
    // A second box would keep the process from ending.
    EXPECT_EQ(WaitForExit(), 0u);
}

// A folder longer than a current directory can be, saved at close: every later start opens the
// window in it and closes with it saved whole.
TEST_F(SettingsProcess, AVeryLongSavedFolderOpensAtEveryStart) {
    RegisterClient();
    WriteBytes(dir / L"adress.txt", "a@example.com\r\n");
    std::wstring folder = dir.Path().substr(0, dir.Path().size() - 1);
    while (folder.size() < 1000) {
        folder += L"\\" + std::wstring(120, L'p');
        MakeDir(folder);
    }
    WriteBytes(folder + L"\\plan.dwg", "x");
    WriteIni(L"[Main]\r\nPath=" + folder + L"\r\n");
    for (int start = 0; start < 2; ++start) {
        const HWND main = StartMainWindow();
        ASSERT_NE(main, nullptr) << "start " << start;
        PostMessageW(main, WM_CLOSE, 0, 0);
        ASSERT_EQ(WaitForExit(), 0u);
        EXPECT_EQ(Key(L"Path"), folder + L"\\");
    }
}

}  // namespace
}  // namespace korvex::test
