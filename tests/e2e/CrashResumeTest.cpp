// A send cut short by the end of the process, as a crash or a power cut ends it: korvex.exe is
// terminated in the middle of a send to a single-instance client, started again, and the send is
// restored and finished. In the end every file has reached the client once, but for at most the
// one whose start was under way, each with the part number the first send gave it.

#include "MainFormIds.h"
#include "ProcessFixture.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <map>

#include "FileSystem.h"
#include "LogLock.h"
#include "SendJournal.h"
#include "SharedInput.h"
#include "Utf8.h"

namespace korvex::test {
namespace {

constexpr std::size_t kFiles = 12;
constexpr std::size_t kKillAfter = 4;  // log lines of this send before the process is ended

// The speed button of the window with this caption.
HWND Button(HWND main, const std::wstring& caption) {
    return FindDescendant(main, [&](HWND w) { return ClassOf(w) == L"KorvexSpeedButton" && WindowText(w) == caption; });
}
// The processes that parent started and that still run.
std::vector<platform::UniqueHandle> ProcessesStartedBy(DWORD parent) {
    std::vector<platform::UniqueHandle> children;
    const platform::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    if (snapshot.get() == INVALID_HANDLE_VALUE) return children;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        if (entry.th32ParentProcessID == parent)
            if (platform::UniqueHandle child(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
                child)
                children.push_back(std::move(child));
    return children;
}

int ItemCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

class CrashResume : public KorvexProcess {
protected:
    std::wstring log;
    std::wstring drawings;
    std::vector<std::wstring> paths;  // in the send list's order

    void SetUp() override {
        KorvexProcess::SetUp();
        if (HasFatalFailure()) return;
        log = dir / L"fakebat-log.jsonl";
        // Inherited by the program and, through it, by the stand-in it starts.
        SetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", log.c_str());
        SetEnvironmentVariableW(L"KORVEX_FAKEBAT_SINGLE", L"1000");
        SetEnvironmentVariableW(L"KORVEX_FAKEBAT_IDLE_MS", L"120000");
    }
    void TearDown() override {
        CloseClient();
        SetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", nullptr);
        SetEnvironmentVariableW(L"KORVEX_FAKEBAT_SINGLE", nullptr);
        SetEnvironmentVariableW(L"KORVEX_FAKEBAT_IDLE_MS", nullptr);
        KorvexProcess::TearDown();
    }
    void CloseClient() {
        if (const HWND client = FindWindowW(kFakeBatClientClass, FakeBatClientTitle(log).c_str())) {
            DWORD clientPid = 0;
            GetWindowThreadProcessId(client, &clientPid);
            const platform::UniqueHandle p(OpenProcess(SYNCHRONIZE, FALSE, clientPid));
            PostMessageW(client, WM_CLOSE, 0, 0);
            if (p) WaitForSingleObject(p.get(), 30000);
        }
    }

    // The box of our process that is up now: its text, and a click on the button of that caption.
    std::wstring AnswerBoxThatBegins(const std::wstring& begins, const std::wstring& click,
                                     const std::vector<std::wstring>& buttons) {
        const HWND box = WaitForWindow(pid, L"#32770");
        if (!box) {
            ADD_FAILURE() << "no box came";
            return {};
        }
        EXPECT_EQ(WindowText(box), L"Korvex");
        std::wstring text;
        for (HWND s : ChildrenOfClass(box, L"Static")) text += WindowText(s);
        EXPECT_TRUE(text.starts_with(begins)) << EncodeUtf8(text);
        EXPECT_TRUE(ClickBoxButton(box, click, buttons)) << EncodeUtf8(click);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));
        return text;
    }

    // The files each subject names with its part number: path → the subjects it was sent with.
    std::map<std::wstring, std::vector<std::wstring>> Sent() const {
        std::map<std::wstring, std::vector<std::wstring>> sent;
        for (const auto& line : ReadFakeBatLog(log)) {
            EXPECT_EQ(line.count("lost"), 0u) << "a command was lost: " << EncodeUtf8(line.at("attachments"));
            if (line.at("account") == L"Office") sent[line.at("attachments")].push_back(line.at("subject"));
        }
        return sent;
    }
};

TEST_F(CrashResume, ASendEndedByACrashIsRestoredAndFinishedWithItsNumbers) {
    RegisterClient();
    RegisterMailbox(L"User #0", L"Office");
    WriteBytes(dir / L"adress.txt", "okb@example.ru\r\n");
    drawings = dir / L"Чертежи\\";
    MakeDir(drawings);
    for (std::size_t i = 1; i <= kFiles; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"лист %02zu.dwg", i);
        paths.push_back(drawings + name);
        WriteBytes(paths.back(), std::string(i, 'x'));
    }
    WriteIni(L"[Main]\r\nPath=" + drawings + L"\r\nBox=Office\r\nViewStyle=2\r\nSubject=Чертежи (часть %i / %n)\r\n");

    // The files into the send list as a user puts them there: all of the explorer's, "Добавить".
    HWND main = StartMainWindow();
    ASSERT_NE(main, nullptr);
    const HWND frame = FindDescendant(main, L"KorvexExplorerFrame");
    ASSERT_NE(frame, nullptr);
    const HWND explorer = FindDescendant(frame, L"SysListView32");
    ASSERT_NE(explorer, nullptr);
    ASSERT_TRUE(WaitFor([&] { return ItemCount(explorer) == static_cast<int>(kFiles); })) << ItemCount(explorer);
    {
        SharedInput keys(main);
        ASSERT_TRUE(keys.Attached());
        SetFocus(explorer);
        ASSERT_TRUE(WaitFor([&] { return GetFocus() == explorer; }));
        PressKey(explorer, VK_HOME);
        ASSERT_TRUE(WaitFor([&] { return SendMessageW(explorer, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == 0; }));
        keys.Hold({VK_SHIFT, VK_LSHIFT});
        PressKey(explorer, VK_END);
        const bool all = WaitFor([&] { return SendMessageW(explorer, LVM_GETSELECTEDCOUNT, 0, 0) == kFiles; });
        keys.Hold({});
        ASSERT_TRUE(all);
    }
    PostMessageW(Button(main, L"Добавить"), BM_CLICK, 0, 0);
    const HWND sendList = FindDescendant(main, L"SysListView32", kIdListViewFiles);
    ASSERT_TRUE(WaitFor([&] { return ItemCount(sendList) == static_cast<int>(kFiles); })) << ItemCount(sendList);
    PressKey(FindDescendant(main, L"SysListView32", kIdListViewAdress), VK_HOME);  // the book's first address
    ASSERT_TRUE(WaitFor([&] { return WindowText(FindDescendant(main, L"Edit", kIdEditAdress)) == L"okb@example.ru"; }));

    // "Отправить", and the end of the process after a few of the starts.
    PostMessageW(Button(main, L"Отправить"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return ReadFakeBatLog(log).size() >= kKillAfter; }, std::chrono::seconds(60)));
    const DWORD crashed = pid;
    ASSERT_TRUE(TerminateProcess(process.get(), 3));
    ASSERT_EQ(WaitForExit(), 3u);
    // A client start under way hands its command over and ends by itself. Under Wine a process
    // whose parent ends inside CreateProcess may never get to run at all: past the bound it is
    // ended here, as the system would never have made it.
    for (const auto& child : ProcessesStartedBy(crashed))
        if (WaitForSingleObject(child.get(), 10000) == WAIT_TIMEOUT) TerminateProcess(child.get(), 4);
    const auto before = Sent();
    ASSERT_LT(before.size(), kFiles) << "the send ended before the process was ended";
    EXPECT_TRUE(GetFileAttributesW((dir / L"korvex-send.txt").c_str()) != INVALID_FILE_ATTRIBUTES)
        << "no record of the send under way";

    // The next start offers the send back; restored, "Отправить" offers the rest.
    Start();
    const std::wstring offer =
        AnswerBoxThatBegins(L"Прошлая отправка прервана", L"Восстановить", {L"Восстановить", L"Отказаться"});
    unsigned startedCount = 0, total = 0;
    const auto counts = offer.find(L"отправлено ");
    ASSERT_NE(counts, std::wstring::npos);
    ASSERT_EQ(swscanf(offer.c_str() + counts, L"отправлено %u из %u", &startedCount, &total), 2);
    const std::size_t startedBefore = startedCount;
    EXPECT_EQ(total, kFiles);
    EXPECT_GE(startedBefore + 1, before.size()) << "the record holds fewer starts than the client took";
    main = WaitForWindow(pid, L"KorvexMainForm");
    ASSERT_NE(main, nullptr);
    const HWND restored = FindDescendant(main, L"SysListView32", kIdListViewFiles);
    ASSERT_TRUE(WaitFor([&] { return ItemCount(restored) == static_cast<int>(kFiles); })) << ItemCount(restored);
    EXPECT_EQ(WindowText(FindDescendant(main, L"Edit", kIdEditAdress)), L"okb@example.ru");
    PostMessageW(Button(main, L"Отправить"), BM_CLICK, 0, 0);
    AnswerBoxThatBegins(L"Отправлено ", L"Оставшиеся", {L"Оставшиеся", L"Все заново", L"Отмена"});
    // The send ends when its record goes.
    ASSERT_TRUE(
        WaitFor([&] { return GetFileAttributesW((dir / L"korvex-send.txt").c_str()) == INVALID_FILE_ATTRIBUTES; },
                std::chrono::seconds(90)));

    // In the client's order: the list's, each file once, but the start under way at the end of the
    // process (the first one the record did not hold as started) may have gone twice.
    std::vector<std::wstring> arrived;
    for (const auto& line : ReadFakeBatLog(log)) {
        EXPECT_EQ(line.count("lost"), 0u) << "a command was lost";
        if (line.at("account") != L"Office") continue;
        arrived.push_back(line.at("attachments"));
        const auto at = std::find(paths.begin(), paths.end(), arrived.back());
        ASSERT_NE(at, paths.end()) << EncodeUtf8(arrived.back());
        EXPECT_EQ(line.at("subject"), L"Чертежи (часть " + std::to_wstring(at - paths.begin() + 1) + L" / " +
                                          std::to_wstring(kFiles) + L")");
    }
    std::vector<std::wstring> underWayTwice = paths;
    if (startedBefore < kFiles)
        underWayTwice.insert(underWayTwice.begin() + static_cast<std::ptrdiff_t>(startedBefore), paths[startedBefore]);
    EXPECT_TRUE(arrived == paths || arrived == underWayTwice)
        << arrived.size() << " lines for " << kFiles << " files, " << startedBefore << " started before the end";
    // The journal holds a line for every start, but perhaps the one the end of the process cut off.
    const auto journal = ParseJournal(platform::ReadFileBytes(dir / L"korvex-journal.csv"));
    EXPECT_LE(journal.size(), arrived.size());
    EXPECT_GE(journal.size() + 1, arrived.size());
    for (const auto& record : journal) EXPECT_EQ(record.at(7), kResultStarted);
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(), 0u);
}

}  // namespace
}  // namespace korvex::test
