// The settings file and the window's lifecycle, in-process: the file lies beside the fixture's
// executable path, the window is shown and closed as the program does it.

#include <algorithm>
#include <chrono>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "FileSystem.h"
#include "FormFixture.h"
#include "PathText.h"
#include "TextConversion.h"
#include "UniqueResource.h"

namespace korvex::test {
namespace {

const KeyValues kNoKeys;

class Settings : public FormFixture {
protected:
    std::wstring IniPath() const { return exeDir / L"korvex.ini"; }

    std::string IniBytes() const { return ReadBytes(IniPath()); }
    KeyValues SectionKeys(const std::wstring& section) const { return IniSection(IniPath(), section); }
    std::wstring Key(const std::wstring& name) const {
        for (const auto& [key, value] : SectionKeys(L"Main"))
            if (key == name) return value;
        return L"<missing>";
    }
    void WriteIniUtf16(const std::wstring& text) const { WriteUtf16File(IniPath(), text); }
    // The names of what lies beside the executable that begins with the settings file's name.
    std::vector<std::wstring> FilesBeside() const {
        std::vector<std::wstring> names;
        platform::EnumerateDirectory(exeDir / L"korvex.ini*",
                                     [&names](const WIN32_FIND_DATAW& data) { names.emplace_back(data.cFileName); });
        return names;
    }

    // A window over the current settings file, shown as the program shows it.
    void Start(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> mailboxes = {{L"User #0", L"Office"}}) {
        form.reset();
        RegisterClient(mailboxes);
        WriteAddressBook("a@example.com\r\n");
        ASSERT_TRUE(CreateForm());
        form->Show(SW_SHOWNORMAL);
    }
    void Close() const { SendMessageW(form->Handle(), WM_CLOSE, 0, 0); }
    RECT WindowRect() const {
        RECT r{};
        GetWindowRect(form->Handle(), &r);
        return r;
    }
    const components::TQFileExplorer& Explorer() const { return form->FrameFileExlore.QFileExplorer; }
};

std::vector<std::wstring> Names(const KeyValues& keys) {
    std::vector<std::wstring> names;
    for (const auto& k : keys) names.push_back(k.first);
    return names;
}

// The program's own list of the keys, in their order.
const std::vector<std::wstring> kTenKeys = MainSettingNames();

TEST_F(Settings, FirstRunKeepsTheInitialStateAndTheCloseWritesAllTenKeysInOrder) {
    Start();
    EXPECT_TRUE(form->SettingsLoaded());
    EXPECT_EQ(form->EditSubj1.Text(), L"Чертежи (часть %i / %n)");
    EXPECT_EQ(form->ComboAccaunts.Text(), L"Office");  // the first listed mailbox, not the placeholder
    EXPECT_FALSE(form->CheckBoxEdit.Checked());
    EXPECT_EQ(Explorer().Directory(), L"c:\\");
    EXPECT_EQ(form->FrameFileExlore.ExplorerViewStyle(), 2);
    // The system's placement for a new window: inside the work area, not a size of our own.
    const RECT r = WindowRect();
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_GT(r.right - r.left, 0);
    EXPECT_GT(r.bottom - r.top, 0);
    EXPECT_GE(r.left, work.left);
    EXPECT_LE(r.right, work.right);

    Close();
    EXPECT_FALSE(IsWindow(form->Handle()));
    const KeyValues keys = SectionKeys(L"Main");
    EXPECT_EQ(Names(keys), kTenKeys);
    EXPECT_EQ(keys, FirstRunMainSection(r));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(Settings, StartingMailboxReplacesOnlyThePlaceholder) {
    struct Case {
        const wchar_t* stored;  // nullptr: no "Box" key
        bool listed;
        std::wstring shown;
    };
    const Case cases[] = {
        {nullptr, true, L"Office"},     {nullptr, false, L""},      {L"ComboAccaunts", true, L"Office"},
        {L"ComboAccaunts", false, L""}, {L"Архив", true, L"Архив"}, {L"Home", false, L"Home"},
    };
    for (const auto& c : cases) {
        DeleteFileW(IniPath().c_str());
        if (c.stored) WriteIniUtf16(std::wstring(L"[Main]\r\nBox=") + c.stored + L"\r\n");
        form.reset();
        TestRegistryKey client(L"mailboxes");
        client.SetText(L"", L"EXE path", FakeBatPath());
        if (c.listed) {
            client.SetText(L"Users depot", L"User #0", L"Office");
            client.SetText(L"Users depot", L"User #1", L"Home");
        }
        WriteAddressBook("a@example.com\r\n");
        ASSERT_TRUE(CreateForm(client.Path()));
        form->Show(SW_SHOWNORMAL);
        EXPECT_EQ(form->ComboAccaunts.Text(), c.shown) << (c.stored ? c.stored : L"(none)") << " " << c.listed;
        form.reset();
    }
}

// Maximized or minimized, the close keeps the normal bounds (never the minimized parking place),
// and the next start opens in that state and restores to them.
TEST_F(Settings, AMaximizedOrMinimizedCloseKeepsTheNormalBoundsAndTheNextStartOpensSo) {
    struct Case {
        int show;
        BOOL (*inState)(HWND);
        const wchar_t* state;
        RECT bounds;  // left, top, width, height
    };
    const Case cases[] = {
        {SW_MAXIMIZE, &IsZoomed, L"2", {100, 80, 760, 500}},
        {SW_MINIMIZE, &IsIconic, L"1", {120, 90, 740, 480}},
    };
    for (const Case& c : cases) {
        const RECT& b = c.bounds;
        DeleteFileW(IniPath().c_str());
        Start();
        SetWindowPos(form->Handle(), nullptr, b.left, b.top, b.right, b.bottom, SWP_NOZORDER);
        ShowWindow(form->Handle(), c.show);
        ASSERT_TRUE(c.inState(form->Handle())) << c.state;
        Close();
        EXPECT_EQ(Key(L"WindowState"), c.state);
        EXPECT_EQ(Key(L"Left"), std::to_wstring(b.left)) << c.state;
        EXPECT_EQ(Key(L"Top"), std::to_wstring(b.top)) << c.state;
        EXPECT_EQ(Key(L"Width"), std::to_wstring(b.right)) << c.state;
        EXPECT_EQ(Key(L"Height"), std::to_wstring(b.bottom)) << c.state;

        Start();
        EXPECT_TRUE(c.inState(form->Handle())) << c.state;
        EXPECT_TRUE(IsWindowVisible(form->Handle())) << c.state;
        ShowWindow(form->Handle(), SW_RESTORE);
        const RECT r = WindowRect();
        EXPECT_EQ(r.left, b.left) << c.state;
        EXPECT_EQ(r.top, b.top) << c.state;
        EXPECT_EQ(r.right - r.left, b.right) << c.state;
        EXPECT_EQ(r.bottom - r.top, b.bottom) << c.state;
    }
}

// Whatever the saved bounds, the window opens whole on the work area, at least its smallest size,
// where its caption can be taken.
TEST_F(Settings, SavedBoundsAreMadeWholeBeforeTheyArePlaced) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const std::wstring cases[] = {
        L"Left=50000\r\nTop=50000\r\nWidth=0\r\nHeight=0",
        L"Left=-50000\r\nTop=-50000\r\nWidth=0\r\nHeight=0",
        L"Left=100\r\nTop=100\r\nWidth=0\r\nHeight=0",
        L"Left=100\r\nTop=100\r\nWidth=-300\r\nHeight=-1",
        L"Left=100\r\nTop=100\r\nWidth=1\r\nHeight=1",
        L"Left=-32000\r\nTop=-32000\r\nWidth=160\r\nHeight=28",  // a minimized window's parking place
        L"Left=0\r\nTop=0\r\nWidth=100000\r\nHeight=100000",
        L"Left=2147483647\r\nTop=-2147483648\r\nWidth=2147483647\r\nHeight=2147483647",
        L"Left=-790\r\nTop=100\r\nWidth=800\r\nHeight=500",  // 10 px left on the screen
        L"Left=100\r\nTop=-490\r\nWidth=800\r\nHeight=500",  // the caption above the top
        L"Left=100\r\nTop=5000\r\nWidth=800\r\nHeight=500",  // below the bottom
        L"Left=5000\r\nTop=100\r\nWidth=800\r\nHeight=500",  // beyond the right edge
    };
    for (const auto& lines : cases) {
        WriteIniUtf16(L"[Main]\r\n" + lines + L"\r\n");
        Start();
        MINMAXINFO limits{};
        SendMessageW(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        const RECT r = WindowRect();
        EXPECT_TRUE(IsWindowVisible(form->Handle())) << lines;
        EXPECT_GE(r.right - r.left, std::min<LONG>(limits.ptMinTrackSize.x, work.right - work.left)) << lines;
        EXPECT_GE(r.bottom - r.top, std::min<LONG>(limits.ptMinTrackSize.y, work.bottom - work.top)) << lines;
        // Its caption lies on the work area over at least 100 px.
        EXPECT_GE(r.top, work.top) << lines;
        EXPECT_LT(r.top, work.bottom) << lines;
        EXPECT_GE(std::min(r.right, work.right) - std::max(r.left, work.left), 100) << lines;
    }
}

TEST_F(Settings, BoundsOnNoMonitorAreMovedOntoTheWorkArea) {
    WriteIniUtf16(L"[Main]\r\nLeft=-5000\r\nTop=-4000\r\nWidth=740\r\nHeight=480\r\n");
    Start();
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT r = WindowRect();
    EXPECT_EQ(r.left, work.left);
    EXPECT_EQ(r.top, work.top);
    EXPECT_EQ(r.right - r.left, 740);
    EXPECT_EQ(r.bottom - r.top, 480);
}

TEST_F(Settings, ValueRules) {
    struct Case {
        std::wstring lines;
        bool checkedBefore;
        bool checked;
        int width;  // 0: the system's width is kept
        int viewStyle;
    };
    const Case cases[] = {
        {L"Edit=1\r\nWidth=0x320\r\nViewStyle=3", false, true, 800, 3},
        {L"Edit=0\r\nWidth=$320\r\nViewStyle=0", true, false, 800, 0},
        {L"Edit=yes\r\nWidth=wide\r\nViewStyle=7", true, true, 0, 2},  // no numbers: all kept
        {L"Edit=yes\r\nWidth=0x\r\nViewStyle=-1", false, false, 0, 2},
        {L"Edit=-5\r\nWidth=  760  \r\nViewStyle=$1", false, true, 760, 1},
    };
    for (const auto& c : cases) {
        WriteIniUtf16(L"[Main]\r\n" + c.lines + L"\r\n");
        form.reset();
        RegisterClient();
        WriteAddressBook("");
        ASSERT_TRUE(CreateForm());
        const int systemWidth = [&] {
            RECT r{};
            GetWindowRect(form->Handle(), &r);
            return static_cast<int>(r.right - r.left);
        }();
        form->CheckBoxEdit.SetChecked(c.checkedBefore);
        form->Show(SW_SHOWNORMAL);
        EXPECT_EQ(form->CheckBoxEdit.Checked(), c.checked) << c.lines;
        const RECT r = WindowRect();
        EXPECT_EQ(r.right - r.left, c.width ? c.width : systemWidth) << c.lines;
        EXPECT_EQ(form->FrameFileExlore.ExplorerViewStyle(), c.viewStyle) << c.lines;
    }
}

TEST_F(Settings, WindowStatesOutsideTheThreeOpenTheWindowNormally) {
    for (const wchar_t* state : {L"5", L"-1", L"max"}) {
        WriteIniUtf16(std::wstring(L"[Main]\r\nLeft=50\r\nTop=40\r\nWidth=750\r\nHeight=450\r\nWindowState=") + state +
                      L"\r\n");
        Start();
        EXPECT_TRUE(IsWindowVisible(form->Handle())) << state;
        EXPECT_FALSE(IsZoomed(form->Handle())) << state;
        EXPECT_FALSE(IsIconic(form->Handle())) << state;
        EXPECT_EQ(WindowRect().left, 50) << state;
    }
}

TEST_F(Settings, CloseSavesAndEndsTheDropRegistration) {
    Start();
    EXPECT_TRUE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    form->FormClose();
    EXPECT_FALSE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_EQ(Names(SectionKeys(L"Main")), kTenKeys);
}

TEST_F(Settings, LongValuesArriveWholeAndSurviveARestart) {
    // Longer than any buffer the system's INI functions are first given: cut, they would be saved
    // over the user's whole value at the next close.
    const std::wstring subject = L"Чертежи " + std::wstring(5000, L'ж') + L" (часть %i / %n)";
    const std::wstring mailbox = std::wstring(3000, L'я');
    WriteIniUtf16(L"[Main]\r\nSubject=" + subject + L"\r\nBox=" + mailbox + L"\r\n");
    Start();
    EXPECT_EQ(form->EditSubj1.Text(), subject);
    EXPECT_EQ(form->ComboAccaunts.Text(), mailbox);
    Close();
    Start();
    EXPECT_EQ(form->EditSubj1.Text(), subject);
    EXPECT_EQ(form->ComboAccaunts.Text(), mailbox);
    Close();
    EXPECT_EQ(Key(L"Subject"), subject);
}

TEST_F(Settings, TheSecondShowReadsNothing) {
    WriteIniUtf16(L"[Main]\r\nSubject=first\r\n");
    Start();
    ASSERT_EQ(form->EditSubj1.Text(), L"first");
    ShowWindow(form->Handle(), SW_HIDE);
    WriteIniUtf16(L"[Main]\r\nSubject=second\r\nWidth=333\r\n");
    const RECT before = WindowRect();
    form->Show(SW_SHOW);
    EXPECT_EQ(form->EditSubj1.Text(), L"first");
    const RECT after = WindowRect();
    EXPECT_EQ(after.right - after.left, before.right - before.left);
}

TEST_F(Settings, OtherSectionsAndKeysSurviveAClose) {
    WriteIniUtf16(L"[Before]\r\nkeep=1\r\n[Main]\r\nSubject=s\r\nMine=my own\r\n[After]\r\nother=два\r\n");
    Start();
    Close();
    EXPECT_EQ(SectionKeys(L"Before"), (KeyValues{{L"keep", L"1"}}));
    EXPECT_EQ(SectionKeys(L"After"), (KeyValues{{L"other", L"два"}}));
    const KeyValues main = SectionKeys(L"Main");
    EXPECT_NE(std::find(main.begin(), main.end(), std::pair<std::wstring, std::wstring>{L"Mine", L"my own"}),
              main.end());
    EXPECT_EQ(Key(L"Subject"), L"s");
    EXPECT_EQ(Key(L"WindowState"), L"0");
}

TEST_F(Settings, UnwritableFileSaysSoOnceAndTheWindowClosesAllTheSame) {
    // As root a read-only file is written all the same; a folder of the file's name is not.
    MakeDir(IniPath());
    Start();
    Close();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, L"Unable to write to " + IniPath());
    EXPECT_EQ(prompter.shown[0].icon, ui::MessageIcon::Error);
    EXPECT_FALSE(IsWindow(form->Handle()));
}

TEST_F(Settings, UnwritableFolderSaysSoOnceToo) {
    RegisterClient();
    TMainFormConfig config = Config();
    config.exePath = exeDir / L"no such folder\\korvex.exe";
    ASSERT_TRUE(CreateForm(std::move(config)));  // the address book is missing: the box is answered OK, and it goes on
    form->Show(SW_SHOWNORMAL);
    prompter.shown.clear();
    Close();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, L"Unable to write to " + exeDir / L"no such folder\\korvex.ini");
    EXPECT_FALSE(IsWindow(form->Handle()));
}

// Every value comes back as it was saved, Cyrillic included, also where the file was left empty
// (as a full disk leaves a file written in place); nothing else is left beside the file.
TEST_F(Settings, ASaveRoundTripsEveryValue) {
    const std::wstring folder = files / L"Чертежи отдела\\";
    MakeDir(folder);
    for (const bool emptyFileFirst : {false, true}) {
        DeleteFileW(IniPath().c_str());
        if (emptyFileFirst) WriteBytes(IniPath(), "");
        Start({{L"User #0", L"Почта"}, {L"User #1", L"Архив"}});
        form->EditSubj1.SetText(L"Чертёж № 5 — часть %i из %n");
        form->ComboAccaunts.SetText(L"Архив");
        form->CheckBoxEdit.SetChecked(true);
        form->FrameFileExlore.SetExplorerViewStyle(1);
        form->FrameFileExlore.QFileExplorer.SetDirectory(folder);
        SetWindowPos(form->Handle(), nullptr, 110, 70, 790, 530, SWP_NOZORDER);
        Close();
        EXPECT_EQ(IniBytes().substr(0, 2), "\xFF\xFE") << emptyFileFirst;

        Start({{L"User #0", L"Почта"}, {L"User #1", L"Архив"}});
        EXPECT_EQ(form->EditSubj1.Text(), L"Чертёж № 5 — часть %i из %n") << emptyFileFirst;
        EXPECT_EQ(form->ComboAccaunts.Text(), L"Архив") << emptyFileFirst;
        EXPECT_TRUE(form->CheckBoxEdit.Checked()) << emptyFileFirst;
        EXPECT_EQ(form->FrameFileExlore.ExplorerViewStyle(), 1) << emptyFileFirst;
        EXPECT_EQ(Explorer().Directory(), folder) << emptyFileFirst;
        const RECT r = WindowRect();
        EXPECT_EQ(r.left, 110) << emptyFileFirst;
        EXPECT_EQ(r.top, 70) << emptyFileFirst;
        EXPECT_EQ(r.right - r.left, 790) << emptyFileFirst;
        EXPECT_EQ(r.bottom - r.top, 530) << emptyFileFirst;
        EXPECT_EQ(FilesBeside(), std::vector<std::wstring>{L"korvex.ini"}) << emptyFileFirst;
        form.reset();
    }
}

// A save that fails anywhere leaves the old file byte for byte, says so once, and leaves nothing
// beside it. Wine's file systems never run full here: the full disk is a stand-in of the test's
// own in the place of the file's replacement (an injected write failure); the other failures are
// real ones of the system.
TEST_F(Settings, AFailedSaveLeavesTheOldFileByteForByteAndSaysSo) {
    std::wstring old = L"[Before]\r\nk=кириллица\r\n[Main]\r\nSubject=старая тема\r\nBox=Почта\r\n[After]\r\n";
    for (int i = 0; i < 300; ++i) old += L"line" + std::to_wstring(i) + L"=значение, которое не теряется\r\n";
    enum class Failure { diskFull, fileHeldOpen, temporaryPlaceTaken };
    for (const Failure failure : {Failure::diskFull, Failure::fileHeldOpen, Failure::temporaryPlaceTaken}) {
        const int name = static_cast<int>(failure);
        WriteIniUtf16(old);
        const std::string before = IniBytes();
        ASSERT_GT(before.size(), 4096u);
        std::size_t offered = 0;
        form.reset();
        RegisterClient();
        WriteAddressBook("a@example.com\r\n");
        TMainFormConfig config = Config();
        if (failure == Failure::diskFull) {
            config.replaceSettingsFile = [&offered](std::wstring_view, std::string_view bytes) -> DWORD {
                offered = bytes.size();
                return ERROR_DISK_FULL;
            };
        }
        ASSERT_TRUE(CreateForm(std::move(config)));
        form->Show(SW_SHOWNORMAL);
        form->EditSubj1.SetText(L"новая тема");
        // Another program reads the file and lets no one replace it meanwhile.
        platform::UniqueFile held;
        if (failure == Failure::fileHeldOpen) {
            held.reset(CreateFileW(IniPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(held);
        }
        if (failure == Failure::temporaryPlaceTaken) MakeDir(IniPath() + L".new");
        prompter.shown.clear();
        Close();
        held.reset();
        ASSERT_EQ(prompter.shown.size(), 1u) << name;
        EXPECT_EQ(prompter.shown[0].text, L"Unable to write to " + IniPath()) << name;
        EXPECT_EQ(prompter.shown[0].icon, ui::MessageIcon::Error) << name;
        EXPECT_FALSE(IsWindow(form->Handle())) << name;
        EXPECT_TRUE(IniBytes() == before) << name;
        if (failure == Failure::diskFull) EXPECT_GT(offered, before.size()) << "the whole file was offered";
        if (failure == Failure::temporaryPlaceTaken) RemoveTree(IniPath() + L".new");
        EXPECT_EQ(FilesBeside(), std::vector<std::wstring>{L"korvex.ini"}) << name;
    }
}

TEST_F(Settings, ANewFileIsUtf16AndKeepsAnyText) {
    const std::wstring folder = files / L"Проекты\\";
    MakeDir(folder);
    MakeDir(folder + L"図面\\");
    WriteBytes(folder + L"図面\\лист.dwg", "x");
    Start();
    form->EditSubj1.SetText(L"Чертёж № 5 — %i/%n");
    form->FrameFileExlore.QFileExplorer.SetDirectory(folder + L"図面\\");
    Close();
    const std::string bytes = IniBytes();
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");

    Start();
    EXPECT_EQ(form->EditSubj1.Text(), L"Чертёж № 5 — %i/%n");
    EXPECT_EQ(Explorer().Directory(), folder + L"図面\\");
    ASSERT_EQ(Explorer().Entries().size(), 1u);
}

TEST_F(Settings, AnExistingAnsiFileStaysAnsi) {
    WriteBytes(IniPath(), "[Main]\r\nSubject=plain\r\n[Other]\r\nname=caf\xE9\r\n");
    Start();
    EXPECT_EQ(form->EditSubj1.Text(), L"plain");
    Close();
    const std::string bytes = IniBytes();
    EXPECT_NE(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_NE(bytes.find("name=caf\xE9\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("Subject=plain\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("WindowState=0"), std::string::npos);
}

// A folder inside root whose path (without a trailing "\\") is exactly length characters long.
std::wstring MakeDeepFolder(const std::wstring& root, std::size_t length) {
    std::wstring path = root.substr(0, root.size() - 1);  // root ends in "\\"
    while (path.size() < length) {
        const std::size_t left = length - path.size() - 1;  // after the next "\\"
        // Segments of at most 100 characters, never leaving a rest too short for a name.
        std::size_t take = std::min<std::size_t>(left, 100);
        if (left > 100 && left - 100 < 2) take = 90;
        path += L'\\' + std::wstring(take, L'd');
        path.back() = static_cast<wchar_t>(L'0' + path.size() % 10);
        MakeDir(path);
    }
    return path;
}

std::wstring CurrentDirectory() {
    std::wstring text(GetCurrentDirectoryW(0, nullptr), L'\0');
    text.resize(GetCurrentDirectoryW(static_cast<DWORD>(text.size()), text.data()));
    return text;
}

// The process's current directory can hold no more than MAX_PATH characters: a folder of any
// length is shown, browsed out of and into again, and saved, without ever being made current.
TEST_F(Settings, SavedFoldersOfAnyLengthOpenAndCanBeBrowsed) {
    for (const std::size_t length : {259u, 260u, 300u, 1000u, 2000u}) {
        const std::wstring base = files / (L"n" + std::to_wstring(length));
        MakeDir(base);
        const std::wstring folder = MakeDeepFolder(base + L"\\", length);
        ASSERT_EQ(folder.size(), length);
        WriteBytes(folder + L"\\plan.dwg", "x");
        WriteIniUtf16(L"[Main]\r\nPath=" + folder + L"\r\n");
        const std::wstring before = CurrentDirectory();
        Start();
        auto& explorer = form->FrameFileExlore.QFileExplorer;
        ASSERT_EQ(Explorer().Directory(), folder + L"\\") << length;
        ASSERT_EQ(Explorer().Entries().size(), 1u) << length;
        EXPECT_EQ(Explorer().Entries().front().caption, L"plan.dwg");
        const bool fits = length + 1 <= MAX_PATH - 2;
        EXPECT_EQ(CurrentDirectory(), fits ? folder : before) << length;

        // Up, and back in by Enter on the folder left.
        const std::wstring parent = ParentFolder(folder);
        explorer.UpOneLevel();
        ASSERT_EQ(Explorer().Directory(), parent) << length;
        const std::wstring name(ExtractFileName(folder));
        for (std::size_t i = 0; i < Explorer().Entries().size(); ++i)
            explorer.Select(i, Explorer().Entries()[i].caption == name);
        SendMessageW(explorer.Handle(), WM_KEYDOWN, VK_RETURN, 1);
        EXPECT_EQ(Explorer().Directory(), folder + L"\\") << length;

        // The form keeps working: adding the file, closing with the folder saved whole.
        form->AddFolder(Explorer().Directory(), false);
        ASSERT_EQ(form->SendEntries().Size(), 1u) << length;
        EXPECT_EQ(form->SendEntries()[0].FullPath(), folder + L"\\plan.dwg");
        Close();
        EXPECT_EQ(Key(L"Path"), folder + L"\\") << length;
    }
    // A saved long folder that is gone opens the nearest one above it that is there.
    const std::wstring kept = MakeDeepFolder(files.Path(), 700);
    WriteIniUtf16(L"[Main]\r\nPath=" + kept + L"\\gone\\" + std::wstring(200, L'x') + L"\r\n");
    Start();
    EXPECT_EQ(Explorer().Directory(), kept + L"\\");
}

TEST_F(Settings, StartUpListsOnlyTheFolderThatIsShown) {
    WriteBytes(files / L"a.dwg", "x");
    RegisterClient();
    WriteAddressBook("");
    struct Case {
        std::wstring path;  // empty: no "Path" key
        std::wstring shown;
    };
    const Case cases[] = {
        {files.Path(), files.Path()},
        {L"", L"c:\\"},
        {files / L"no such folder\\", files.Path()},  // the nearest folder above
        {files / L"gone\\deeper\\still\\", files.Path()},
        {files / L"a.dwg", files.Path()},   // a file is no folder
        {L"q:\\no such drive\\", L"c:\\"},  // nothing above: the first folder
        {L"drives", L"drives"},
    };
    for (const auto& c : cases) {
        DeleteFileW(IniPath().c_str());
        if (!c.path.empty()) WriteIniUtf16(L"[Main]\r\nPath=" + c.path + L"\r\n");
        form.reset();
        ASSERT_TRUE(CreateForm());
        // Nothing is listed at creation.
        EXPECT_TRUE(Explorer().Directory().empty());
        EXPECT_TRUE(Explorer().Entries().empty());
        int listings = 0;
        auto& explorer = form->FrameFileExlore.QFileExplorer;
        explorer.OnChange = [&, inner = explorer.OnChange](components::TQFileExplorer& sender, int item,
                                                           components::TItemChange change) {
            if (item == -1 && change == components::TItemChange::ctText) ++listings;
            inner(sender, item, change);
        };
        form->Show(SW_SHOWNORMAL);
        EXPECT_EQ(Explorer().Directory(), c.shown) << c.path;
        EXPECT_EQ(listings, 1) << c.path;
        EXPECT_EQ(form->PanelPath.Text(), c.shown) << c.path;
    }
}

// A saved folder that does not answer (a share whose server is gone) does not hold the window: it
// opens on the drives, and the folder follows once it has been read. A user who went elsewhere
// meanwhile stays there; a folder whose reading failed is not shown and stays the one to open
// next time, as it does for a window closed while it is still being read, whose reading never
// holds the close. Wine has no share that stalls, so the test holds the reading itself.
TEST_F(Settings, ASavedFolderThatDoesNotAnswerLetsTheWindowOpenOnTheDrives) {
    const std::wstring saved = files / L"saved\\";
    const std::wstring elsewhere = files / L"elsewhere\\";
    MakeDir(elsewhere);
    RegisterClient();
    WriteAddressBook("");
    enum class Meanwhile { nothing, userGoesElsewhereAndBack, folderGoes, windowCloses };
    struct Case {
        Meanwhile meanwhile;
        std::wstring shown;       // once the reading has ended
        std::wstring savedAfter;  // by a close then
    };
    const Case cases[] = {
        {Meanwhile::nothing, saved, saved},
        {Meanwhile::userGoesElsewhereAndBack, L"Drives", L"Drives"},
        {Meanwhile::folderGoes, L"Drives", saved},
        {Meanwhile::windowCloses, L"", saved},
    };
    for (const Case& c : cases) {
        const int name = static_cast<int>(c.meanwhile);
        MakeDir(saved);
        WriteBytes(saved + L"a.dwg", "x");
        WriteIniUtf16(L"[Main]\r\nPath=" + saved + L"\r\n");
        const platform::UniqueHandle gate(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        ASSERT_TRUE(gate);
        TMainFormConfig config = Config();
        config.savedFolderPatienceMs = 50;
        config.beforeReadingSavedFolder = [g = gate.get()] { WaitForSingleObject(g, 30000); };
        ASSERT_TRUE(CreateForm(std::move(config)));
        form->Show(SW_SHOWNORMAL);
        EXPECT_TRUE(Explorer().IsDrivesView()) << name;
        EXPECT_TRUE(form->SavedFolderPending()) << name;
        switch (c.meanwhile) {
            case Meanwhile::userGoesElsewhereAndBack:
                form->FrameFileExlore.QFileExplorer.SetDirectory(elsewhere);
                form->FrameFileExlore.QFileExplorer.SetDirectory(L"Drives");
                break;
            case Meanwhile::folderGoes: RemoveTree(saved); break;
            case Meanwhile::windowCloses: {
                Close();
                const auto before = std::chrono::steady_clock::now();
                form.reset();
                EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(10));
                SetEvent(gate.get());
                EXPECT_EQ(Key(L"Path"), c.savedAfter);
                continue;
            }
            case Meanwhile::nothing: break;
        }
        SetEvent(gate.get());
        ASSERT_TRUE(WaitFor([&] { return !form->SavedFolderPending(); }, std::chrono::seconds(20))) << name;
        EXPECT_EQ(Explorer().Directory(), c.shown) << name;
        if (c.meanwhile == Meanwhile::nothing) EXPECT_EQ(Explorer().Entries().size(), 1u);
        Close();
        EXPECT_EQ(Key(L"Path"), c.savedAfter) << name;
        form.reset();
    }
}

// A prompter that fails once, at the given question, with an error that is none of the program's
// own (as running out of memory would); it records every box it was asked to show.
class FailingPrompter final : public ui::Prompter {
public:
    explicit FailingPrompter(std::size_t failAt) : failAt_(failAt) {}
    ui::MessageResult Show(HWND, const ui::MessageSpec& box) override {
        shown.push_back(box);
        if (shown.size() == failAt_ + 1) throw std::length_error("injected");
        return ui::MessageResult::Yes;
    }
    std::vector<ui::MessageSpec> shown;

private:
    std::size_t failAt_;
};

TEST_F(Settings, AForeignErrorWhileCreatingStillOpensTheWindowWithItsSettings) {
    // No address book: creation asks whether to go on, and that question fails.
    RegisterClient({{L"User #0", L"Office"}});
    WriteIniUtf16(L"[Main]\r\nSubject=saved\r\nEdit=1\r\nBox=Office\r\n");
    FailingPrompter failing(0);
    TMainFormConfig config = Config();
    config.prompter = &failing;
    ASSERT_TRUE(CreateForm(std::move(config)));
    ASSERT_EQ(failing.shown.size(), 2u);
    EXPECT_EQ(failing.shown[1].text, L"Unexpected error");
    EXPECT_EQ(failing.shown[1].icon, ui::MessageIcon::Error);
    form->Show(SW_SHOWNORMAL);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_TRUE(form->SettingsLoaded());
    EXPECT_EQ(form->EditSubj1.Text(), L"saved");
    EXPECT_TRUE(form->CheckBoxEdit.Checked());
    EXPECT_EQ(form->ComboAccaunts.Text(), L"Office");
}

TEST_F(Settings, AForeignErrorWhileApplyingTheSettingsStillOpensTheWindow) {
    RegisterClient({{L"User #0", L"Office"}});
    WriteAddressBook("a@example.com\r\n");
    WriteIniUtf16(L"[Main]\r\nSubject=saved\r\nPath=" + files.Path() + L"\r\n");
    ASSERT_TRUE(CreateForm());
    // The explorer's first listing fails: the values before it are applied, the window opens.
    bool failed = false;
    form->FrameFileExlore.QFileExplorer.OnChange = [&failed](components::TQFileExplorer&, int,
                                                             components::TItemChange) {
        if (!std::exchange(failed, true)) throw std::bad_alloc();
    };
    form->Show(SW_SHOWNORMAL);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_TRUE(form->SettingsLoaded());
    EXPECT_EQ(form->EditSubj1.Text(), L"saved");
    ASSERT_TRUE(failed);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, L"Unexpected error");
}

}  // namespace
}  // namespace korvex::test
