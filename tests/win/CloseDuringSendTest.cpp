// A close of the window while a send runs on its stack: whatever asks for it (another program's
// WM_CLOSE, sent or posted, the taskbar's or the system menu's SC_CLOSE, Alt+F4), the window asks
// once whether to stop; stopped, the send keeps its journal and its record for the next start, the
// settings are written and the window closes once the send has unwound. The end of the session does
// the same without a question. The close requests come from inside a stand-in start, as they would
// while the client starts.

#include <functional>

#include "FileSystem.h"
#include "ModalPump.h"
#include "SendFixture.h"
#include "SendJournal.h"
#include "Utf8.h"

namespace korvex::test {
namespace {

constexpr std::size_t kFiles = 5;
constexpr std::size_t kCloseAt = 2;  // the start during which the close comes
const std::wstring kQuestionEnd = L". Остановить её и закрыть Korvex?";

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Answers as the fixture's prompter does, and runs the test's own step while a box is up (as the
// user's or another program's actions come while a real box waits).
class PrompterWithStep final : public ui::Prompter {
public:
    explicit PrompterWithStep(FakePrompter& answers) : answers_(answers) {}
    ui::MessageResult Show(HWND owner, const ui::MessageSpec& box) override {
        if (whileShown) whileShown(box);
        return answers_.Show(owner, box);
    }
    std::function<void(const ui::MessageSpec&)> whileShown;

private:
    FakePrompter& answers_;
};

class CloseDuringSend : public SendFixture {
protected:
    std::size_t made = 0;
    PrompterWithStep steps{prompter};

    // A ready window whose starts succeed at once, counted; during start n, close(n) runs.
    void CreateCountingForm(std::function<void(std::size_t)> during) {
        RegisterClient({{L"User #0", L"Office"}});
        WriteAddressBook("a@example.com\r\n");
        TMainFormConfig config = Config();
        config.prompter = &steps;
        config.startProcess = [this, during = std::move(during)](std::wstring_view, std::wstring_view) {
            during(++made);
            return StartOutcome{};
        };
        ASSERT_TRUE(CreateForm(std::move(config)));
        form->Show(SW_SHOWNORMAL);
        for (std::size_t i = 1; i <= kFiles; ++i) AddFiles({L"лист " + std::to_wstring(i) + L".dwg"});
        Fill(L"Office", L"a@b", L"Чертежи (часть %i / %n)");
        DeleteFileW(form->SettingsPath().c_str());
    }
    std::vector<std::vector<std::wstring>> Journal() const {
        try {
            return ParseJournal(platform::ReadFileBytes(form->JournalPath()));
        } catch (const std::exception&) {
            return {};
        }
    }
    // Lets the window's loop run until the window is gone, within a bound.
    bool WindowCloses() {
        const HWND window = form->Handle();
        return WaitFor(
            [&] {
                PumpPending();
                return !IsWindow(window);
            },
            std::chrono::seconds(10));
    }
};

struct CloseSource {
    const char* what;
    std::function<void(HWND form, HWND focus)> deliver;
    std::size_t sentWhenAsked;  // a posted request is handled after the start under way is noted
};

const CloseSource kSources[] = {
    {"WM_CLOSE sent", [](HWND form, HWND) { SendMessageW(form, WM_CLOSE, 0, 0); }, kCloseAt - 1},
    {"WM_CLOSE posted", [](HWND form, HWND) { PostMessageW(form, WM_CLOSE, 0, 0); }, kCloseAt},
    {"SC_CLOSE sent", [](HWND form, HWND) { SendMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0); }, kCloseAt - 1},
    {"SC_CLOSE posted", [](HWND form, HWND) { PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0); }, kCloseAt},
    {"Alt+F4", [](HWND, HWND focus) { PostMessageW(focus, WM_SYSKEYDOWN, VK_F4, MAKELPARAM(1, KF_ALTDOWN | 0x3E)); },
     kCloseAt},
};

TEST_F(CloseDuringSend, StopAndCloseEndsAfterTheStartUnderWayAndKeepsTheSendForTheNextStart) {
    for (const auto& source : kSources) {
        SCOPED_TRACE(source.what);
        form.reset();
        made = 0;
        prompter.shown.clear();
        prompter.answers = {ui::ChoiceResult(0)};  // "Остановить и закрыть"
        DeleteFileW(JournalPathFor(exeDir / L"korvex.exe").c_str());
        CreateCountingForm([&](std::size_t n) {
            if (n == kCloseAt) source.deliver(form->Handle(), form->ListViewFiles.Handle());
        });
        Press();

        EXPECT_EQ(made, kCloseAt) << "the rest must not start";
        ASSERT_EQ(prompter.shown.size(), 1u) << "the question only, no summary";
        const ui::MessageSpec& box = prompter.shown[0];
        EXPECT_EQ(box.caption, L"Korvex");
        EXPECT_EQ(box.text, L"Идёт отправка: отправлено " + std::to_wstring(source.sentWhenAsked) + L" из " +
                                std::to_wstring(kFiles) + kQuestionEnd);
        EXPECT_EQ(box.choices, (std::vector<std::wstring>{L"Остановить и закрыть", L"Продолжить отправку"}));
        EXPECT_EQ(box.defaultChoice, 1u);
        EXPECT_EQ(Journal().size(), kCloseAt);
        EXPECT_TRUE(Exists(form->SavedSendPath())) << "the record of the stopped send must stay";
        EXPECT_FALSE(form->Sending());

        // The window closes once the send has unwound, writing the settings as any close does.
        ASSERT_TRUE(IsWindow(form->Handle())) << "destroyed while the send was on its stack";
        ASSERT_TRUE(WindowCloses());
        EXPECT_TRUE(Exists(form->SettingsPath()));

        // The next start offers the rest of the send.
        form.reset();
        prompter.shown.clear();
        prompter.answers = {ui::ChoiceResult(0)};  // "Восстановить"
        ASSERT_TRUE(CreateSendForm());
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_TRUE(prompter.shown[0].text.starts_with(L"Прошлая отправка прервана: отправлено " +
                                                       std::to_wstring(kCloseAt) + L" из " + std::to_wstring(kFiles)))
            << EncodeUtf8(prompter.shown[0].text);
        ASSERT_EQ(form->SendEntries().Size(), kFiles);
        for (std::size_t i = 0; i < kFiles; ++i)
            EXPECT_EQ(form->SendEntries()[i].mark.state == SentState::Started, i < kCloseAt) << i;
        DeleteFileW(form->SavedSendPath().c_str());
    }
}

TEST_F(CloseDuringSend, ContinueSendsEveryFileAndTheWindowStays) {
    for (const auto& source : kSources) {
        SCOPED_TRACE(source.what);
        form.reset();
        made = 0;
        prompter.shown.clear();
        prompter.answers = {ui::ChoiceResult(1)};  // "Продолжить отправку"
        CreateCountingForm([&](std::size_t n) {
            if (n == kCloseAt) source.deliver(form->Handle(), form->ListViewFiles.Handle());
        });
        Press();
        PumpPending();  // a close that was put off would be carried out here
        EXPECT_EQ(made, kFiles);
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_TRUE(prompter.shown[0].text.ends_with(kQuestionEnd));
        EXPECT_TRUE(form->SendStatus().starts_with(L"Отправлено 5 из 5")) << EncodeUtf8(form->SendStatus());
        EXPECT_EQ(Journal().size(), kFiles);
        EXPECT_FALSE(Exists(form->SavedSendPath()));
        EXPECT_TRUE(IsWindow(form->Handle()));
        EXPECT_TRUE(IsWindowVisible(form->Handle()));
        DeleteFileW(form->JournalPath().c_str());
    }
}

// Esc answers the question as "Продолжить отправку" (the box answers Cancel).
TEST_F(CloseDuringSend, EscOnTheQuestionGoesOn) {
    prompter.answers = {ui::MessageResult::Cancel};
    CreateCountingForm([&](std::size_t n) {
        if (n == kCloseAt) PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    });
    Press();
    PumpPending();
    EXPECT_EQ(made, kFiles);
    EXPECT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(IsWindow(form->Handle()));
}

// More requests while the question is up ask nothing more; after "Продолжить отправку" the next
// request asks again, with the count of then.
TEST_F(CloseDuringSend, OneQuestionAtATimeAndAgainAfterContinue) {
    std::size_t nestedQuestions = 0;
    steps.whileShown = [&](const ui::MessageSpec& box) {
        if (!box.text.ends_with(kQuestionEnd)) return;
        const std::size_t before = prompter.shown.size();
        SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
        SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        nestedQuestions += prompter.shown.size() - before;
    };
    prompter.answers = {ui::ChoiceResult(1), ui::ChoiceResult(0)};
    CreateCountingForm([&](std::size_t n) {
        if (n == 2 || n == 4) SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    });
    Press();
    EXPECT_EQ(nestedQuestions, 0u);
    EXPECT_EQ(made, 4u);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].text, L"Идёт отправка: отправлено 1 из 5" + kQuestionEnd);
    EXPECT_EQ(prompter.shown[1].text, L"Идёт отправка: отправлено 3 из 5" + kQuestionEnd);
    EXPECT_TRUE(WindowCloses());
}

// The session's end asks nothing: the send stops, and by the time the system is told the session
// may end, the settings, the journal so far and the record are on disk.
TEST_F(CloseDuringSend, TheSessionsEndStopsTheSendWithoutAQuestion) {
    LRESULT mayEnd = FALSE;
    bool settingsWritten = false, recordWritten = false;
    std::size_t journalAtEnd = 0;
    CreateCountingForm([&](std::size_t n) {
        if (n != kCloseAt) return;
        mayEnd = SendMessageW(form->Handle(), WM_QUERYENDSESSION, 0, 0);
        SendMessageW(form->Handle(), WM_ENDSESSION, TRUE, 0);
        settingsWritten = Exists(form->SettingsPath());
        recordWritten = Exists(form->SavedSendPath());
        journalAtEnd = Journal().size();
    });
    Press();
    EXPECT_EQ(mayEnd, TRUE);
    EXPECT_TRUE(prompter.shown.empty()) << EncodeUtf8(prompter.shown.front().text);
    EXPECT_EQ(made, kCloseAt);
    EXPECT_TRUE(settingsWritten);
    EXPECT_TRUE(recordWritten);
    EXPECT_EQ(journalAtEnd, kCloseAt - 1);  // the start under way is written once it has settled
    EXPECT_EQ(Journal().size(), kCloseAt);
    EXPECT_TRUE(Exists(form->SavedSendPath()));
    EXPECT_TRUE(WindowCloses());
}

// A window of the test's own with the system's own close: WM_CLOSE destroys it.
class PlainWindow {
public:
    PlainWindow()
        : hwnd_(CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr)) {}
    ~PlainWindow() {
        if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    }
    PlainWindow(const PlainWindow&) = delete;
    PlainWindow& operator=(const PlainWindow&) = delete;
    HWND get() const { return hwnd_; }

private:
    HWND hwnd_;
};

// The pump of a long piece of work holds a close back until the work is over, and then it is
// carried out: a close is never lost, whichever way it was asked for, and the window a close is
// let through to gets it at once.
TEST(ModalPumpClose, AHeldCloseIsCarriedOutOnceTheWorkIsOver) {
    struct Case {
        const char* what;
        ui::ModalPump::Dispatch dispatch;
        bool owner;  // the window is the pump's close owner
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool closedDuringWork;
    } const cases[] = {
        {"WM_CLOSE, all", ui::ModalPump::Dispatch::All, false, WM_CLOSE, 0, 0, false},
        {"SC_CLOSE, all", ui::ModalPump::Dispatch::All, false, WM_SYSCOMMAND, SC_CLOSE, 0, false},
        {"Alt+F4, all", ui::ModalPump::Dispatch::All, false, WM_SYSKEYDOWN, VK_F4, MAKELPARAM(1, KF_ALTDOWN), false},
        {"WM_CLOSE, paint only", ui::ModalPump::Dispatch::PaintOnly, false, WM_CLOSE, 0, 0, false},
        {"Alt+F4, paint only", ui::ModalPump::Dispatch::PaintOnly, false, WM_SYSKEYDOWN, VK_F4,
         MAKELPARAM(1, KF_ALTDOWN), false},
        {"WM_CLOSE to the owner", ui::ModalPump::Dispatch::All, true, WM_CLOSE, 0, 0, true},
        {"Alt+F4 in the owner", ui::ModalPump::Dispatch::All, true, WM_SYSKEYDOWN, VK_F4, MAKELPARAM(1, KF_ALTDOWN),
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PumpPending();
        PlainWindow window;
        ASSERT_TRUE(IsWindow(window.get()));
        {
            ui::ModalPump pump(c.dispatch, c.owner ? window.get() : nullptr);
            PostMessageW(window.get(), c.message, c.wParam, c.lParam);
            pump.Pump();
            pump.Pump();  // a close held back is not handed over by a later look either
            EXPECT_EQ(!IsWindow(window.get()), c.closedDuringWork);
        }
        PumpPending();
        EXPECT_FALSE(IsWindow(window.get())) << "the close was lost";
    }
}

// Without Alt, F4 is no close; a held key's repeats ask for one close only.
TEST(ModalPumpClose, OnlyAltF4AsksForAClose) {
    PlainWindow window;
    {
        ui::ModalPump pump(ui::ModalPump::Dispatch::PaintOnly);
        PostMessageW(window.get(), WM_KEYDOWN, VK_F4, 1);
        PostMessageW(window.get(), WM_SYSKEYDOWN, VK_F4, MAKELPARAM(1, KF_ALTDOWN | KF_REPEAT));
        pump.Pump();
    }
    PumpPending();
    EXPECT_TRUE(IsWindow(window.get()));
}

}  // namespace
}  // namespace korvex::test
