// P5 and P12: what a send costs beyond its process starts, and what the journal window costs
// beyond reading the journal.

#include "BenchSend.h"

#include <windows.h>
#include <commctrl.h>

#include <climits>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchForm.h"
#include "BenchSupport.h"
#include "JournalWindow.h"
#include "LogLock.h"
#include "MainForm.h"
#include "Process.h"
#include "SendJournal.h"
#include "UniqueResource.h"
#include "Utf8.h"

namespace korvex::bench {

namespace {

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// The stand-in client of a log, brought up (with a command of its own) or ended.
HWND ClientWindow(const std::wstring& log) {
    return FindWindowW(kFakeBatClientClass, FakeBatClientTitle(log).c_str());
}
void StartClient(const std::wstring& log) {
    const std::wstring client = test::FakeBatPath();
    if (platform::StartProcess(client, client + L" /MAILU=Warm;TO=\"w@x\";A=\"warm.dwg\";S=\"warm\"") != 0 ||
        !test::WaitFor([&] { return ClientWindow(log) != nullptr; }))
        throw std::runtime_error("P5: the stand-in client did not come up");
}
void CloseClient(const std::wstring& log) {
    if (const HWND client = ClientWindow(log)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(client, &pid);
        const platform::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
        PostMessageW(client, WM_CLOSE, 0, 0);
        if (process) WaitForSingleObject(process.get(), 30000);
    }
}

}  // namespace

void BenchDispatch(const test::TempDir& exeDir, const test::TestRegistryKey& reg) {
    constexpr std::size_t kFiles = 200;
    test::TempDir files;
    SetEnvironmentVariableW(L"KORVEX_FAKEBAT_SINGLE", L"1000");
    test::FakePrompter prompter;
    TMainFormConfig config = BenchFormConfig(exeDir, reg);
    config.prompter = &prompter;  // the product's own starts, each settled before the next
    auto form = MakeBenchForm(std::move(config));
    std::vector<std::wstring> paths;
    for (std::size_t i = 0; i < kFiles; ++i) {
        paths.push_back(files / (L"лист-" + std::to_wstring(i) + L".dwg"));
        test::WriteBytes(paths.back(), "x");
        form->AddPath(paths.back(), false);
    }
    form->ComboAccaunts.SetText(L"Office");
    form->EditAdress.SetText(L"okb@example.ru");
    form->EditSubj1.SetText(L"Чертежи (часть %i / %n)");
    const std::wstring client = test::FakeBatPath();
    // Each run has a log and a client of its own, up and waiting before the run begins; its
    // lines are counted after it.
    int run = 0;
    std::wstring log;
    auto beginRun = [&] {
        log = files / (L"fakebat-log-" + std::to_wstring(run++) + L".jsonl");
        SetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", log.c_str());
        StartClient(log);
    };
    auto endRun = [&] {
        const std::size_t lines = test::ReadFakeBatLog(log).size();
        CloseClient(log);
        if (lines != kFiles + 1) throw std::runtime_error("P5: " + std::to_string(lines - 1) + " lines logged");
    };
    Compare(
        "P5", "dispatch 200 entries to the single-instance stand-in, journal and record included",
        "bare CreateProcessW + settle loop", 2,
        [&] {
            beginRun();
            prompter.answers = {ui::ChoiceResult(0)};  // from the second run on: "Отправить ещё раз"
            const double s = Seconds([&] { SendMessageW(form->btMakeQuery.Handle(), BM_CLICK, 0, 0); });
            endRun();
            return s;
        },
        [&] {
            beginRun();
            const double s = Seconds([&] {
                for (std::size_t i = 0; i < kFiles; ++i) {
                    std::wstring command = client + L" /MAILU=Office;TO=\"okb@example.ru\";A=\"" + paths[i] +
                                           L"\";S=\"Чертежи (часть " + std::to_wstring(i + 1) + L" / 200)\"";
                    STARTUPINFOW startup{};
                    startup.cb = sizeof startup;
                    startup.dwFlags = STARTF_USESHOWWINDOW;
                    startup.wShowWindow = SW_SHOWNORMAL;
                    PROCESS_INFORMATION info{};
                    if (!CreateProcessW(client.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                        &startup, &info))
                        throw std::runtime_error("P5: CreateProcessW failed");
                    const platform::UniqueHandle process(info.hProcess), thread(info.hThread);
                    platform::WaitUntilSettled(process.get(), 20000, &Pump);
                }
            });
            endRun();
            return s;
        });
    const std::string journal = platform::ReadFileBytes(form->JournalPath());
    std::printf("  P5 journal: %zu lines after both runs of ours\n", ParseJournal(journal).size());
    SetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", nullptr);
    SetEnvironmentVariableW(L"KORVEX_FAKEBAT_SINGLE", nullptr);
}

namespace {

constexpr std::size_t kJournalLines = 1'000'000;

// A journal as a year of sends leaves it: sets of 200 drawings, a failure now and then.
void WriteBigJournal(const std::wstring& path) {
    const platform::UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw std::runtime_error("P12: the journal cannot be written");
    std::string chunk = std::string(kUtf8Bom) + EncodeUtf8(kJournalHeader) + "\r\n";
    for (std::size_t i = 0; i < kJournalLines; ++i) {
        const std::size_t set = i / 200, part = i % 200 + 1;
        JournalRecord r{
            {2026, static_cast<int>(1 + set % 12), static_cast<int>(1 + set % 28), static_cast<int>(8 + set % 10),
             static_cast<int>(i % 60), static_cast<int>(i * 7 % 60), 180},
            set % 3 ? L"Рабочий ящик" : L"Office",
            L"\"Завод №" + std::to_wstring(set % 40) + L"\" <plant" + std::to_wstring(set % 40) + L"@example.ru>",
            L"Чертежи корпуса " + std::to_wstring(set) + L" (часть " + std::to_wstring(part) + L" / 200)",
            L"C:\\Проекты\\Корпус " + std::to_wstring(set) + L"\\План-" + std::to_wstring(part) + L".dwg",
            10'000 + i * 37 % 5'000'000,
            part,
            200,
            i % 997 ? std::wstring(kResultStarted) : FailedResult(L"The system cannot find the file.")};
        chunk += EncodeUtf8(JournalLine(r));
        chunk += "\r\n";
        if (chunk.size() > (8u << 20) || i + 1 == kJournalLines) {
            DWORD written = 0;
            if (!WriteFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &written, nullptr))
                throw std::runtime_error("P12: the journal cannot be written");
            chunk.clear();
        }
    }
}

// The bare work: the whole file read, decoded, and cut into lines.
struct BareLines {
    std::wstring text;
    std::vector<std::size_t> starts;  // each line's first character; one more at the end
};
void BareReadLines(const std::wstring& path, BareLines& lines) {
    const std::string bytes = platform::ReadFileBytes(path);
    lines.text.resize(bytes.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), lines.text.data(),
                                      static_cast<int>(lines.text.size()));
    lines.text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    lines.starts.clear();
    lines.starts.push_back(0);
    for (std::size_t i = 0; i < lines.text.size(); ++i)
        if (lines.text[i] == L'\n') lines.starts.push_back(i + 1);
    lines.starts.push_back(lines.text.size() + 1);
}

}  // namespace

void BenchJournal() {
    test::TempDir dir;
    const std::wstring path = dir / L"korvex-journal.csv";
    WriteBigJournal(path);
    test::FakePrompter prompter;
    BareLines bare;
    std::unique_ptr<TJournalWindow> window;
    Compare(
        "P12", "open the journal window on 1,000,000 lines until its first rows are painted",
        "bare read + UTF-8 decode into lines", 3,
        [&] {
            window.reset();
            return Seconds([&] {
                window = std::make_unique<TJournalWindow>(path, prompter);
                window->Open(nullptr);
                RedrawWindow(window->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            });
        },
        [&] {
            bare = {};
            return Seconds([&] { BareReadLines(path, bare); });
        });
    if (window->View().RecordCount() != kJournalLines)
        std::printf("P12 warning: %zu records\n", window->View().RecordCount());
    // The first filter of a freshly read journal folds the whole text; later ones only search.
    const std::wstring word = L"ПЛАН-17.";
    std::size_t ourRows = 0, bareRows = 0;
    Compare(
        "P12", "filter it by a word (the first filter after opening)", "bare case-insensitive scan of the lines", 3,
        [&] {
            SendMessageW(window->Handle(), WM_CLOSE, 0, 0);
            window->EditFilter.SetText(L"");
            window->Open(nullptr);
            RedrawWindow(window->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            return Seconds([&] {
                window->EditFilter.SetText(word);
                window->ApplyFilter();
                RedrawWindow(window->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
                ourRows = window->View().RowCount();
            });
        },
        [&] {
            return Seconds([&] {
                std::wstring folded = bare.text;
                for (std::size_t at = 0; at < folded.size(); at += INT_MAX / 2)
                    CharLowerBuffW(folded.data() + at,
                                   static_cast<DWORD>(std::min<std::size_t>(INT_MAX / 2, folded.size() - at)));
                std::wstring needle = word;
                CharLowerBuffW(needle.data(), static_cast<DWORD>(needle.size()));
                bareRows = 0;
                const std::wstring_view all(folded);
                for (std::size_t line = 0; line + 1 < bare.starts.size(); ++line)
                    if (all.substr(bare.starts[line], bare.starts[line + 1] - 1 - bare.starts[line]).find(needle) !=
                        std::wstring_view::npos)
                        ++bareRows;
            });
        });
    const double typingOn = Seconds([&] {
        window->EditFilter.SetText(word + L"d");
        window->ApplyFilter();
        RedrawWindow(window->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    });
    const double another = Seconds([&] {
        window->EditFilter.SetText(L"завод №3");
        window->ApplyFilter();
        RedrawWindow(window->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    });
    std::printf("  P12 rows kept: ours %zu, bare %zu; one more letter %.3f s, another word %.3f s\n", ourRows, bareRows,
                typingOn, another);
    window.reset();
}

}  // namespace korvex::bench
