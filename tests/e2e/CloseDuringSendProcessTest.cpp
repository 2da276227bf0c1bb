// korvex.exe closed by another program in the middle of a send: the window asks, and "Остановить и
// закрыть" ends the process after the start under way, with the send's record kept for the next
// start and the settings written.

#include "MainFormIds.h"
#include "ProcessFixture.h"

#include <commctrl.h>

#include <thread>

#include "FileSystem.h"
#include "SharedInput.h"
#include "Utf8.h"

namespace korvex::test {
namespace {

// Enough files that the send is still under way when the close comes.
constexpr std::size_t kFiles = 200;

HWND SpeedButton(HWND main, const std::wstring& caption) {
    return FindDescendant(main, [&](HWND w) { return ClassOf(w) == L"KorvexSpeedButton" && WindowText(w) == caption; });
}

class CloseDuringSendProcess : public KorvexProcess {
protected:
    std::wstring log;
    void SetUp() override {
        KorvexProcess::SetUp();
        if (HasFatalFailure()) return;
        log = dir / L"fakebat-log.jsonl";
        SetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", log.c_str());  // inherited by the program's starts
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", nullptr);
        KorvexProcess::TearDown();
    }
};

TEST_F(CloseDuringSendProcess, AnotherProgramsCloseAskedAndAnsweredStopEndsTheProcessAndKeepsTheSend) {
    RegisterClient();
    RegisterMailbox(L"User #0", L"Office");
    WriteBytes(dir / L"adress.txt", "okb@example.ru\r\n");
    const std::wstring drawings = dir / L"Чертежи";
    MakeDir(drawings);
    std::wstring commandLine = L"\"" + (dir / L"korvex.exe") + L"\"";
    for (std::size_t i = 1; i <= kFiles; ++i) {
        const std::wstring path = drawings + L"\\л" + std::to_wstring(i) + L".dwg";
        WriteBytes(path, "x");
        commandLine += L" \"" + path + L"\"";
    }
    WriteIni(L"[Main]\r\nBox=Office\r\nSubject=Чертежи (часть %i / %n)\r\n");

    PROCESS_INFORMATION info{};
    ASSERT_TRUE(StartProcess(commandLine, dir.Path(), info)) << "error " << GetLastError();
    process.reset(info.hProcess);
    thread.reset(info.hThread);
    pid = info.dwProcessId;
    const HWND main = WaitForWindow(pid, L"KorvexMainForm");
    ASSERT_NE(main, nullptr);
    const HWND sendList = FindDescendant(main, L"SysListView32", kIdListViewFiles);
    ASSERT_TRUE(WaitFor([&] { return SendMessageW(sendList, LVM_GETITEMCOUNT, 0, 0) == kFiles; }, kProcessBound));
    PressKey(FindDescendant(main, L"SysListView32", kIdListViewAdress), VK_HOME);  // the book's first address
    ASSERT_TRUE(WaitFor([&] { return WindowText(FindDescendant(main, L"Edit", kIdEditAdress)) == L"okb@example.ru"; }));

    PostMessageW(SpeedButton(main, L"Отправить"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return ReadFakeBatLog(log).size() >= 3; }, kProcessBound));
    // Another program's close waits for its answer: it is sent from a thread of its own, bounded.
    std::thread closer([main] {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(main, WM_CLOSE, 0, 0, SMTO_NORMAL, 60000, &result);
    });
    const HWND box = WaitForWindow(pid, L"#32770");
    bool answered = false;
    if (box) {
        EXPECT_EQ(WindowText(box), L"Korvex");
        std::wstring text;
        for (HWND s : ChildrenOfClass(box, L"Static")) text += WindowText(s);
        EXPECT_TRUE(text.starts_with(L"Идёт отправка: отправлено ")) << EncodeUtf8(text);
        EXPECT_TRUE(text.ends_with(L" из " + std::to_wstring(kFiles) + L". Остановить её и закрыть Korvex?"))
            << EncodeUtf8(text);
        answered = ClickBoxButton(box, L"Остановить и закрыть", {L"Остановить и закрыть", L"Продолжить отправку"});
    }
    const DWORD exitCode = answered ? WaitForExit() : 0xDEAD;
    closer.join();
    ASSERT_NE(box, nullptr) << "no question came";
    ASSERT_TRUE(answered);
    EXPECT_EQ(exitCode, 0u) << "the process must end once the send has stopped";

    // Every start the client saw is in the journal; the rest never started; the record waits for
    // the next start, and the settings were written.
    const std::size_t arrived = ReadFakeBatLog(log).size();
    EXPECT_LT(arrived, kFiles);
    EXPECT_TRUE(GetFileAttributesW((dir / L"korvex-send.txt").c_str()) != INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(Key(L"Box"), L"<missing>");
    const std::string journal = ReadBytes(dir / L"korvex-journal.csv");
    std::size_t lines = 0;
    for (const char c : journal) lines += c == '\n';
    EXPECT_EQ(lines, arrived + 1) << "header and one line per start";  // the header line, then the starts
}

}  // namespace
}  // namespace korvex::test
