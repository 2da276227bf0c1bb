// One window per copy of the program, in-process: the running instance's listener and a later
// start on a thread of its own, and the window's side of taking paths.

#include <algorithm>
#include <atomic>
#include <thread>

#include "CommandLinePaths.h"
#include "FormFixture.h"
#include "SingleInstance.h"
#include "StartHandOver.h"
#include "UniqueResource.h"

namespace korvex::test {
namespace {

using platform::SingleInstance;
using namespace std::chrono_literals;

// Runs work on a thread of its own and dispatches this thread's messages (the listener's) until
// the work is done.
template <typename Work>
void RunWhilePumping(Work work) {
    std::atomic<bool> done{false};
    std::thread other([&] {
        work();
        done = true;
    });
    while (!done) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    other.join();
}

class SingleInstanceTest : public ::testing::Test {
protected:
    TempDir dir;
    std::wstring exe = dir / L"korvex.exe";  // a copy of its own: no other test shares the name
    FakePrompter prompter;
};

TEST_F(SingleInstanceTest, OneInstancePerFullPathWhateverItsCase) {
    EXPECT_EQ(SingleInstance::NameFor(L"C:\\Tools\\Korvex.EXE"), SingleInstance::NameFor(L"c:\\tools\\korvex.exe"));
    EXPECT_NE(SingleInstance::NameFor(L"C:\\Tools\\korvex.exe"), SingleInstance::NameFor(L"D:\\Tools\\korvex.exe"));
    EXPECT_EQ(SingleInstance::NameFor(L"C:\\Чертежи\\КОРВЕКС.exe"),
              SingleInstance::NameFor(L"c:\\чертежи\\корвекс.exe"));
    const SingleInstance first(exe);
    EXPECT_TRUE(first.First());
    bool secondFirst = true, otherFirst = false;
    std::thread([&] {
        secondFirst = SingleInstance(exe).First();
        otherFirst = SingleInstance(dir / L"copy\\korvex.exe").First();
    }).join();
    EXPECT_FALSE(secondFirst);
    EXPECT_TRUE(otherFirst);
}

TEST_F(SingleInstanceTest, TheRunningWindowGetsThePathsOnceItTakesThem) {
    SingleInstance first(exe);
    std::vector<std::vector<std::wstring>> offers;
    bool take = false;
    first.Listen([&](std::vector<std::wstring> paths) {
        offers.push_back(std::move(paths));
        // Busy at the first offer, free from the second on.
        return std::exchange(take, true);
    });
    const std::vector<std::wstring> paths{L"C:\\Чертежи\\лист 1.dwg", L"\\\\srv\\share\\b.dwg"};
    std::optional<int> exitCode = -1;
    RunWhilePumping([&] {
        SingleInstance second(exe);
        exitCode = HandOverToRunning(second, paths, prompter, 10s);
    });
    EXPECT_EQ(exitCode, 0);
    ASSERT_EQ(offers.size(), 2u);
    EXPECT_EQ(offers[1], paths);
    EXPECT_TRUE(prompter.shown.empty());
}

// Under Wine a process that has not got its message-only parent (started while the desktop was
// starting, or on a loaded machine) gets a hidden top-level window where it asked for a message-only
// one. The running instance's listener is stood in for by such a window of the test's own.
TEST_F(SingleInstanceTest, AListenerThatIsAHiddenTopLevelWindowGetsThePathsToo) {
    const SingleInstance first(exe);  // holds the instance, not listening itself
    const std::wstring name = SingleInstance::NameFor(exe);
    static std::vector<std::wstring> offered;
    offered.clear();
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = name.c_str();
    cls.lpfnWndProc = [](HWND w, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg != WM_COPYDATA) return DefWindowProcW(w, msg, wParam, lParam);
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        const auto paths = SplitPathBlock({static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t)});
        if (!paths) return SingleInstance::kRefused;
        offered = *paths;
        return SingleInstance::kTaken;
    };
    ASSERT_NE(RegisterClassExW(&cls), 0);
    const platform::ScopeExit unregister([&] { UnregisterClassW(name.c_str(), cls.hInstance); });
    const HWND listener =
        CreateWindowExW(0, name.c_str(), L"", 0, 0, 0, 0, 0, nullptr, nullptr, cls.hInstance, nullptr);
    ASSERT_NE(listener, nullptr);
    const platform::ScopeExit destroy([&] { DestroyWindow(listener); });
    EXPECT_EQ(SingleInstance::FindListener(name), listener);

    const std::vector<std::wstring> paths{L"C:\\Чертежи\\лист 1.dwg"};
    prompter.answers = {ui::ChoiceResult(1)};  // a start that never finds the window gives up
    std::optional<int> exitCode = -1;
    RunWhilePumping([&] {
        SingleInstance second(exe);
        exitCode = HandOverToRunning(second, paths, prompter, 2s);
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(offered, paths);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(SingleInstanceTest, AStartThatGivesUpWaitingSaysSoAndEndsWithOne) {
    SingleInstance first(exe);
    int offers = 0;
    first.Listen([&](std::vector<std::wstring>) {
        ++offers;
        return false;  // a modal box stays open
    });
    // Waits again once, then gives up.
    prompter.answers = {ui::ChoiceResult(0), ui::ChoiceResult(1)};
    std::optional<int> exitCode;
    RunWhilePumping([&] {
        SingleInstance second(exe);
        exitCode = HandOverToRunning(second, {L"C:\\a.dwg"}, prompter, 300ms);
    });
    EXPECT_EQ(exitCode, 1);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].buttons, ui::MessageButtons::Choices);
    EXPECT_EQ(prompter.shown[0].choices, (std::vector<std::wstring>{L"Подождать ещё", L"Не добавлять"}));
    EXPECT_NE(prompter.shown[0].text.find(L"не принимает файлы"), std::wstring::npos);
    EXPECT_GE(offers, 2);
}

TEST_F(SingleInstanceTest, AStartWaitingForAnEndingInstanceBecomesTheFirst) {
    auto first = std::make_unique<SingleInstance>(exe);
    bool offered = false;
    first->Listen([&](std::vector<std::wstring>) {
        offered = true;
        return false;
    });
    std::optional<int> exitCode = -1;
    bool nowFirst = false;
    std::atomic<bool> waiting{false};
    std::thread second([&] {
        SingleInstance instance(exe);
        waiting = true;
        exitCode = HandOverToRunning(instance, {L"C:\\a.dwg"}, prompter, 60s);
        nowFirst = instance.First();
    });
    ASSERT_TRUE(WaitFor([&] {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        return offered;
    }));
    first.reset();  // the running program ends
    second.join();
    EXPECT_EQ(exitCode, std::nullopt);
    EXPECT_TRUE(nowFirst);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(SingleInstanceTest, MessagesOfTheWrongSizeOrFormAreRefused) {
    SingleInstance first(exe);
    int taken = 0;
    first.Listen([&](std::vector<std::wstring>) {
        ++taken;
        return true;
    });
    const HWND listener = SingleInstance::FindListener(SingleInstance::NameFor(exe));
    ASSERT_NE(listener, nullptr);
    auto send = [&](ULONG_PTR magic, const void* data, DWORD bytes) {
        COPYDATASTRUCT copy{magic, bytes, const_cast<void*>(data)};
        return SendMessageW(listener, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
    };
    const std::wstring good = JoinPathBlock({L"C:\\a.dwg"});
    const DWORD goodBytes = static_cast<DWORD>(good.size() * sizeof(wchar_t));
    const std::wstring relative = JoinPathBlock({L"a.dwg"});
    EXPECT_EQ(send(0x1234, good.data(), goodBytes), SingleInstance::kRefused) << "another kind of message";
    EXPECT_EQ(send(SingleInstance::kPathsMagic, good.data(), goodBytes - 1), SingleInstance::kRefused) << "odd size";
    EXPECT_EQ(send(SingleInstance::kPathsMagic, good.data(), goodBytes - 2), SingleInstance::kRefused) << "no end";
    EXPECT_EQ(send(SingleInstance::kPathsMagic, nullptr, 0), SingleInstance::kRefused) << "empty";
    EXPECT_EQ(send(SingleInstance::kPathsMagic, nullptr, goodBytes), SingleInstance::kRefused) << "no data";
    EXPECT_EQ(send(SingleInstance::kPathsMagic, relative.data(), static_cast<DWORD>(relative.size() * 2)),
              SingleInstance::kRefused)
        << "a relative path";
    EXPECT_EQ(taken, 0);
    EXPECT_EQ(send(SingleInstance::kPathsMagic, good.data(), goodBytes), SingleInstance::kTaken);
    EXPECT_EQ(taken, 1);
}

class TakingPaths : public FormFixture {
protected:
    void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
};

TEST_F(TakingPaths, AddedAsADropAddsThemAndTheMissingNamedAfterwards) {
    CreateReadyForm();
    const std::wstring set = MakeSet();
    WriteBytes(files / L"first.dwg", "1");
    form->QueueStartPaths(
        {files / L"first.dwg", files / L"нет-1.dwg", set + L"\\sub", files / L"нет-2.dwg", files / L"first.dwg"});
    EXPECT_TRUE(form->SendEntries().Empty()) << "added from the message loop, not at once";
    ASSERT_TRUE(WaitFor([&] {
        Pump();
        return !prompter.shown.empty();
    }));
    // Every file once, in the given order; the folder's tree in the file system's order.
    std::vector<std::wstring> names = FileNames();
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(form->SendEntries()[0].FullPath(), files / L"first.dwg");
    std::sort(names.begin() + 1, names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"first.dwg", L"b.dwg", L"c.dwg", L"d.dwg"}));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, L"Не найдены:\r\n" + (files / L"нет-1.dwg") + L"\r\n" + (files / L"нет-2.dwg"));
    EXPECT_EQ(prompter.shown[0].icon, ui::MessageIcon::Warning);
}

TEST_F(TakingPaths, NotTakenWhileAModalBoxDisablesTheWindowAddedWhenItCloses) {
    CreateReadyForm();
    WriteBytes(files / L"a.dwg", "a");
    EnableWindow(form->Handle(), FALSE);  // what a modal box owned by the window does
    EXPECT_TRUE(form->Busy());
    EXPECT_FALSE(form->OfferPaths({files / L"a.dwg"}));
    EXPECT_TRUE(form->OfferPaths({})) << "a start without paths only brings the window to the front";
    EnableWindow(form->Handle(), TRUE);
    EXPECT_FALSE(form->Busy());
    ASSERT_TRUE(form->OfferPaths({files / L"a.dwg"}));
    // A box that opens after the paths were taken holds them back until it closes.
    EnableWindow(form->Handle(), FALSE);
    Pump();
    EXPECT_TRUE(form->SendEntries().Empty());
    EnableWindow(form->Handle(), TRUE);
    ASSERT_TRUE(WaitFor([&] {
        Pump();
        return form->SendEntries().Size() == 1;
    }));
    EXPECT_TRUE(prompter.shown.empty());
}

}  // namespace
}  // namespace korvex::test
