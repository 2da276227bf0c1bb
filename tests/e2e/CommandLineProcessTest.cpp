// korvex.exe started with paths, as Explorer's "Send To" and a drop on the program's icon start
// it, and started again while it runs: one window per copy of the program gets every path.

#include "ProcessFixture.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <chrono>
#include <cstdio>

#include "CommandLinePaths.h"
#include "ComSession.h"
#include "MainFormIds.h"
#include "RemoteListView.h"
#include "SendToShortcut.h"
#include "SingleInstance.h"

namespace korvex::test {
namespace {

HWND SendListOf(HWND main) {
    return FindDescendant(main, L"SysListView32", kIdListViewFiles);
}

// A start of another korvex.exe process with arguments, in a current folder of the test's choice.
struct OtherStart {
    platform::UniqueHandle process, thread;
    DWORD pid = 0;
    std::size_t askedToWait = 0;  // how often this start asked whether to go on waiting

    // The exit code once the process has ended (0xDEAD when it still runs after the bound). A start
    // whose running window is slow to take its paths (a loaded machine) asks after a while whether
    // to go on waiting: that is answered as a user would, and the number of questions is reported.
    DWORD WaitForExit(std::chrono::milliseconds limit = kProcessBound) {
        HWND answered = nullptr;
        const bool ended = WaitFor(
            [&] {
                for (const HWND box : ProcessWindows(pid, L"#32770"))
                    for (const HWND button : ChildrenOfClass(box, L"Button"))
                        if (box != answered && IsWindowVisible(box) && WindowText(button) == L"Подождать ещё") {
                            PostMessageW(button, BM_CLICK, 0, 0);
                            answered = box;
                            ++askedToWait;
                        }
                return WaitForSingleObject(process.get(), 50) == WAIT_OBJECT_0;
            },
            limit);
        if (askedToWait > 0)
            std::printf("start %lu asked %zu time(s) whether to go on waiting for the running window\n",
                        static_cast<unsigned long>(pid), askedToWait);
        if (!ended) return 0xDEAD;
        DWORD code = 0;
        GetExitCodeProcess(process.get(), &code);
        return code;
    }
    ~OtherStart() {
        if (process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) TerminateProcess(process.get(), 99);
    }
};

class CommandLineProcess : public KorvexProcess {
protected:
    std::wstring in;  // the folder the first start runs in

    void SetUp() override {
        KorvexProcess::SetUp();
        if (HasFatalFailure()) return;
        RegisterClient();
        RegisterMailbox(L"User #0", L"Office");
        WriteBytes(dir / L"adress.txt", "a@example.com\r\n");
        in = dir / L"in\\";
        MakeDir(in);
    }
    // Starts the given copy of the program with the arguments (already quoted as wanted).
    static void StartProgram(OtherStart& start, const std::wstring& exe, const std::wstring& arguments,
                             const std::wstring& folder) {
        PROCESS_INFORMATION info{};
        ASSERT_TRUE(StartProcess(L"\"" + exe + L"\" " + arguments, folder, info)) << "error " << GetLastError();
        start.process.reset(info.hProcess);
        start.thread.reset(info.hThread);
        start.pid = info.dwProcessId;
    }
    // The first start, with arguments, as the fixture's own process.
    void StartFirst(const std::wstring& arguments) {
        OtherStart first;
        StartProgram(first, dir / L"korvex.exe", arguments, in);
        process = std::move(first.process);
        thread = std::move(first.thread);
        pid = first.pid;
    }
    static bool HasMainWindow(DWORD processId) { return !ProcessWindows(processId, L"KorvexMainForm").empty(); }
};

TEST_F(CommandLineProcess, PathsOfTheFirstAndASecondStartReachOneWindowInOrder) {
    WriteBytes(in + L"a.dwg", "a");
    WriteBytes(in + L"лист 2.dwg", "22");
    MakeDir(in + L"set");
    MakeDir(in + L"set\\sub");
    WriteBytes(in + L"set\\sub\\y.dwg", "y");
    const std::wstring other = dir / L"other\\";
    MakeDir(other);
    WriteBytes(other + L"поздний.dwg", "late");

    // A relative file, a full quoted one with a blank and Cyrillic, and a relative folder quoted
    // with its trailing backslash, as Explorer quotes a folder path.
    StartFirst(L"a.dwg \"" + in + L"лист 2.dwg\" \"set\\\"");
    const HWND main = WaitForWindow(pid, L"KorvexMainForm");
    ASSERT_NE(main, nullptr);
    const HWND list = SendListOf(main);
    ASSERT_NE(list, nullptr);
    const std::vector<std::wstring> first{in + L"a.dwg", in + L"лист 2.dwg", in + L"set\\sub\\y.dwg"};
    ASSERT_TRUE(WaitFor([&] { return RemoteSendList(list) == first; })) << RemoteSendList(list).size() << " rows";

    // The second start, in a folder of its own, with a relative path and a duplicate.
    OtherStart second;
    StartProgram(second, dir / L"korvex.exe", L"поздний.dwg \"" + in + L"a.dwg\"", other);
    EXPECT_EQ(second.WaitForExit(), 0u);
    std::vector<std::wstring> all = first;
    all.push_back(other + L"поздний.dwg");
    EXPECT_TRUE(WaitFor([&] { return RemoteSendList(list) == all; })) << RemoteSendList(list).size() << " rows";
    EXPECT_FALSE(HasMainWindow(second.pid));

    // A start without paths only brings the window back.
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(main) != FALSE; }));
    OtherStart third;
    StartProgram(third, dir / L"korvex.exe", L"", other);
    EXPECT_EQ(third.WaitForExit(), 0u);
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(main); }));
    EXPECT_EQ(RemoteSendList(list), all);

    // A copy of the program in another folder is another program: it opens a window of its own.
    const std::wstring copyDir = dir / L"copy\\";
    MakeDir(copyDir);
    ASSERT_TRUE(CopyFileW((dir / L"korvex.exe").c_str(), (copyDir + L"korvex.exe").c_str(), FALSE));
    WriteBytes(copyDir + L"adress.txt", "b@example.com\r\n");
    OtherStart copy;
    StartProgram(copy, copyDir + L"korvex.exe", L"\"" + other + L"поздний.dwg\"", other);
    const HWND copyMain = WaitForWindow(copy.pid, L"KorvexMainForm");
    ASSERT_NE(copyMain, nullptr);
    EXPECT_TRUE(WaitFor(
        [&] { return RemoteSendList(SendListOf(copyMain)) == std::vector<std::wstring>{other + L"поздний.dwg"}; }));
    PostMessageW(copyMain, WM_CLOSE, 0, 0);
    EXPECT_EQ(copy.WaitForExit(), 0u);
    EXPECT_EQ(RemoteSendList(list), all);

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(), 0u);
}

TEST_F(CommandLineProcess, ASecondStartWaitsWhileTheWindowShowsAModalBox) {
    WriteBytes(in + L"a.dwg", "a");
    WriteBytes(in + L"b.dwg", "b");
    // The missing path is named in a box after the others were added; the box stays open.
    StartFirst(L"a.dwg нет.dwg");
    const HWND main = WaitForWindow(pid, L"KorvexMainForm");
    ASSERT_NE(main, nullptr);
    const HWND box = WaitForWindow(pid, L"#32770");
    ASSERT_NE(box, nullptr);
    const HWND list = SendListOf(main);
    EXPECT_EQ(RemoteSendList(list), std::vector<std::wstring>{in + L"a.dwg"});

    OtherStart second;
    StartProgram(second, dir / L"korvex.exe", L"b.dwg", in);
    // It neither gives up nor ends while the box is open, and its path is not added under the box.
    // Its question whether to go on waiting comes only once its offers have been refused for its
    // whole patience: then it has been waiting all that time.
    const HWND question = WaitForWindow(second.pid, L"#32770");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(WaitForSingleObject(second.process.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(RemoteSendList(list), std::vector<std::wstring>{in + L"a.dwg"});
    EXPECT_FALSE(HasMainWindow(second.pid));
    bool asks = false;
    for (const HWND s : ChildrenOfClass(question, L"Static"))
        asks = asks || WindowText(s).find(L"не принимает файлы") != std::wstring::npos;
    EXPECT_TRUE(asks);
    ASSERT_TRUE(ClickBoxButton(question, L"Подождать ещё", {L"Подождать ещё", L"Не добавлять"}));

    AnswerBox(L"Korvex", L"Не найден:\r\n" + in + L"нет.dwg", {L"OK"}, L"OK");
    EXPECT_EQ(second.WaitForExit(), 0u);
    const std::vector<std::wstring> both{in + L"a.dwg", in + L"b.dwg"};
    EXPECT_TRUE(WaitFor([&] { return RemoteSendList(list) == both; })) << RemoteSendList(list).size() << " rows";
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(), 0u);
}

// Anyone on the desktop can send the listening window a block. Wine copies the block onto the
// stack of the window's thread before the window sees it, so a block larger than that stack used
// to end the program; now such blocks, and those larger than any start can send, are refused by
// their size, and the window goes on taking the blocks of later starts.
TEST_F(CommandLineProcess, HostileBlocksAreRefusedAndTheWindowGoesOn) {
    WriteBytes(in + L"a.dwg", "a");
    StartFirst(L"");
    const HWND main = WaitForWindow(pid, L"KorvexMainForm");
    ASSERT_NE(main, nullptr);
    // Message-only, or, where Wine could not make it so, a hidden top-level window.
    HWND listener = nullptr;
    for (const HWND parent : {HWND_MESSAGE, HWND(nullptr)})
        for (HWND w = nullptr; (w = FindWindowExW(parent, w, nullptr, nullptr)) != nullptr;) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == pid && ClassOf(w).starts_with(L"Korvex.Instance.")) listener = w;
        }
    ASSERT_NE(listener, nullptr);
    const auto send = [&](const std::wstring& block, DWORD bytes) {
        COPYDATASTRUCT data{platform::SingleInstance::kPathsMagic, bytes, const_cast<wchar_t*>(block.data())};
        DWORD_PTR answer = 99;
        if (!SendMessageTimeoutW(listener, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 60000,
                                 &answer))
            return DWORD_PTR{0xDEAD};
        return answer;
    };
    const auto bytesOf = [](const std::wstring& block) { return static_cast<DWORD>(block.size() * sizeof(wchar_t)); };
    // Full paths, as many as make the block at least chars long.
    const auto pathsOf = [](std::size_t chars) {
        std::vector<std::wstring> paths;
        for (std::size_t length = 1; length < chars; length += 261)
            paths.push_back(L"C:\\" + std::wstring(256, L'p') + L".dwg");
        return JoinPathBlock(paths);
    };
    constexpr std::size_t kMiB = 1u << 20;
    const std::wstring garbage(2 * kMiB / sizeof(wchar_t), L'x');
    const std::wstring tooLong = pathsOf(kMaxBlockLength + 1);
    const std::wstring huge(48 * kMiB / sizeof(wchar_t), L'\0');
    struct Case {
        const char* what;
        const std::wstring& block;
        DWORD bytes;
    };
    const Case cases[] = {
        {"2 MiB without an end", garbage, bytesOf(garbage)},
        {"2 MiB and one byte", garbage, bytesOf(garbage) - 1},
        {"well-formed paths beyond what a start can send", tooLong, bytesOf(tooLong)},
        {"48 MiB of NULs", huge, bytesOf(huge)},
    };
    ASSERT_GT(tooLong.size(), kMaxBlockLength);
    for (const Case& c : cases) {
        EXPECT_EQ(send(c.block, c.bytes), static_cast<DWORD_PTR>(platform::SingleInstance::kRefused)) << c.what;
        ASSERT_EQ(WaitForSingleObject(process.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << c.what;
    }
    const std::wstring good = JoinPathBlock({in + L"a.dwg"});
    EXPECT_EQ(send(good, bytesOf(good)), static_cast<DWORD_PTR>(platform::SingleInstance::kTaken));
    const HWND list = SendListOf(main);
    EXPECT_TRUE(WaitFor([&] { return RemoteSendList(list) == std::vector<std::wstring>{in + L"a.dwg"}; }));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(), 0u);
}

// Explorer's "Отправить" menu is not there under Wine: the shortcut is started the way that menu
// starts it, through the shell with the selected files as parameters.
TEST_F(CommandLineProcess, TheSendToShortcutWrittenFromTheSystemMenuStartsKorvexWithTheFiles) {
    // The shell's link object, to read the shortcut back.
    const platform::ComSession com;
    const std::wstring link = platform::SendToFolder() + L"\\Korvex.lnk";
    ASSERT_FALSE(platform::SendToFolder().empty());
    DeleteFileW(link.c_str());
    WriteBytes(in + L"лист 1.dwg", "1");
    WriteBytes(in + L"лист 2.dwg", "2");
    StartFirst(L"");
    const HWND main = WaitForWindow(pid, L"KorvexMainForm");
    ASSERT_NE(main, nullptr);

    PostMessageW(main, WM_SYSCOMMAND, kSysSendTo, 0);
    ASSERT_TRUE(WaitFor([&] { return platform::IsShortcutTo(link, dir / L"korvex.exe"); }));
    const auto info = platform::ReadShortcut(link);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->arguments, L"");
    EXPECT_EQ(info->workingDirectory, dir.Path().substr(0, dir.Path().size() - 1));

    const std::wstring parameters = L"\"" + in + L"лист 1.dwg\" \"" + in + L"лист 2.dwg\"";
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    execute.lpFile = link.c_str();
    execute.lpParameters = parameters.c_str();
    execute.lpDirectory = in.c_str();
    execute.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExW(&execute)) << GetLastError();
    const platform::UniqueHandle started(execute.hProcess);
    if (started) {
        EXPECT_EQ(
            WaitForSingleObject(started.get(), static_cast<DWORD>(std::chrono::milliseconds(kProcessBound).count())),
            static_cast<DWORD>(WAIT_OBJECT_0));
        DWORD code = 1;
        GetExitCodeProcess(started.get(), &code);
        EXPECT_EQ(code, 0u);
    }
    const std::vector<std::wstring> both{in + L"лист 1.dwg", in + L"лист 2.dwg"};
    const HWND list = SendListOf(main);
    EXPECT_TRUE(WaitFor([&] { return RemoteSendList(list) == both; })) << RemoteSendList(list).size() << " rows";

    PostMessageW(main, WM_SYSCOMMAND, kSysSendTo, 0);
    EXPECT_TRUE(WaitFor([&] { return GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES; }));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(), 0u);
    DeleteFileW(link.c_str());
}

}  // namespace
}  // namespace korvex::test
