// korvex.exe as a process: the settings file written at close and read at the next start.

#include "ProcessFixture.h"

namespace korvex::test {
namespace {

class SettingsProcess : public KorvexProcess {
protected:
    std::wstring IniPath() const { return dir / L"korvex.ini"; }

    // The keys of [Main] in the file's order, from the UTF-16 file the program creates.
    std::vector<std::pair<std::wstring, std::wstring>> MainKeys() const {
        const platform::UniqueFile file(
            CreateFileW(IniPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        std::string bytes(file ? GetFileSize(file.get(), nullptr) : 0, '\0');
        DWORD read = 0;
        if (!bytes.empty()) ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        std::vector<std::pair<std::wstring, std::wstring>> keys;
        if (read < 2 || bytes.substr(0, 2) != "\xFF\xFE") return keys;
        const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (read - 2) / 2);
        bool inMain = false;
        for (std::size_t start = 0; start < text.size();) {
            std::size_t end = text.find(L"\r\n", start);
            if (end == std::wstring::npos) end = text.size();
            const std::wstring line = text.substr(start, end - start);
            start = end + 2;
            if (line.starts_with(L"["))
                inMain = line == L"[Main]";
            else if (inMain && line.find(L'=') != std::wstring::npos)
                keys.emplace_back(line.substr(0, line.find(L'=')), line.substr(line.find(L'=') + 1));
        }
        return keys;
    }
    void WriteIni(const std::wstring& text) const {
        std::string bytes = "\xFF\xFE";
        bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
        WriteBytes(IniPath(), bytes);
    }
    HWND StartMainWindow() {
        Start();
        const HWND main = WaitForWindow(pid, L"KorvexMainForm");
        EXPECT_NE(main, nullptr);
        return main;
    }
    std::wstring Key(const std::wstring& name) const {
        for (const auto& [key, value] : MainKeys())
            if (key == name) return value;
        return L"<missing>";
    }
    // The text of a control of the other process: WM_GETTEXT is carried across, GetWindowText is not.
    static std::wstring ControlText(HWND w) {
        wchar_t text[512] = {};
        SendMessageW(w, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
        return text;
    }
    static RECT RectOf(HWND w) {
        RECT r{};
        GetWindowRect(w, &r);
        return r;
    }
};

TEST_F(SettingsProcess, FirstRunTakesTheFirstMailboxAndTheCloseWritesTheTenKeys) {
    RegisterClient();
    RegisterMailbox(L"User #0", L"Office");
    RegisterMailbox(L"User #1", L"Home");
    WriteBytes(dir / L"adress.txt", "a@example.com\r\n");
    const HWND main = StartMainWindow();
    ASSERT_NE(main, nullptr);
    const HWND combo = FindDescendant(main, L"ComboBox");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(ControlText(combo), L"Office");
    const RECT r = RectOf(main);
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForExit(), 0u);

    const std::vector<std::pair<std::wstring, std::wstring>> expected{{L"Subject", L"Чертежи (часть %i / %n)"},
                                                                      {L"Path", L"c:\\"},
                                                                      {L"ViewStyle", L"2"},
                                                                      {L"Edit", L"0"},
                                                                      {L"Box", L"Office"},
                                                                      {L"Left", std::to_wstring(r.left)},
                                                                      {L"Top", std::to_wstring(r.top)},
                                                                      {L"Width", std::to_wstring(r.right - r.left)},
                                                                      {L"Height", std::to_wstring(r.bottom - r.top)},
                                                                      {L"WindowState", L"0"}};
    EXPECT_EQ(MainKeys(), expected);
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
    EXPECT_EQ(ControlText(FindDescendant(main, L"ComboBox")), L"Archive");  // a stored name is kept, listed or not
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

}  // namespace
}  // namespace korvex::test
