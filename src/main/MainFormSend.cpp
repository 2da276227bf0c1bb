// TMainForm: the mail client and the send.

#include "MainForm.h"

#include <chrono>

#include "AppError.h"
#include "BusyCursor.h"
#include "FileSystem.h"
#include "SendCommand.h"
#include "Win32Error.h"

namespace korvex {

namespace {

// How long a path or file name may be in a message box before its middle gives way to "…".
constexpr std::size_t kShownPathLength = 120;
// A send that takes longer than this shows its progress.
constexpr auto kProgressDelay = std::chrono::milliseconds(500);

const wchar_t* FieldName(SendField field) {
    switch (field) {
        case SendField::Mailbox: return L"Название ящика";
        case SendField::Address: return L"Адрес";
        case SendField::Subject: return L"Тема";
        default: return L"Вложение";
    }
}

PathKind KindOfPath(std::wstring_view path) {
    const DWORD attributes = platform::FileAttributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
}

std::wstring Quoted(std::wstring_view path) {
    return L"\u00AB" + ShortenMiddle(path, kShownPathLength) + L"\u00BB";
}

std::wstring ClientPathMessage(ClientPathProblem problem, const std::wstring& path) {
    switch (problem) {
        case ClientPathProblem::Empty:
            return L"Путь к почтовому клиенту пуст (значение \"EXE path\" в реестре).\r\nНичего не отправлено.";
        case ClientPathProblem::TooLong:
            return L"Путь к почтовому клиенту слишком длинный: " + std::to_wstring(path.size()) +
                   L" символов, а Windows запускает программы с путём не длиннее " +
                   std::to_wstring(kMaxClientPathLength) + L".\r\n" + Quoted(path) + L"\r\nНичего не отправлено.";
        case ClientPathProblem::Folder:
            return L"Путь к почтовому клиенту указывает на папку, а не на программу:\r\n" + Quoted(path) +
                   L"\r\nНичего не отправлено.";
        default: return L"Почтовый клиент не найден:\r\n" + Quoted(path) + L"\r\nНичего не отправлено.";
    }
}

// While the send starts its processes the window keeps painting, shows "57 из 200" in its caption
// once the send takes longer than half a second, and takes no input: a click or a key goes
// nowhere, except Esc, which stops the send after the start under way.
class SendProgressView {
public:
    explicit SendProgressView(HWND window) : window_(window), caption_(WindowText(window)) {}
    ~SendProgressView() {
        if (shown_) SetWindowTextW(window_, caption_.c_str());
        for (const MSG& msg : deferred_) PostMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    }
    SendProgressView(const SendProgressView&) = delete;
    SendProgressView& operator=(const SendProgressView&) = delete;

    bool Update(std::size_t started, std::size_t total) {
        Pump();
        const auto now = std::chrono::steady_clock::now();
        if (now - begin_ >= kProgressDelay && (now - lastShown_ >= std::chrono::milliseconds(50) || started == total)) {
            const std::wstring text = caption_ + L" \u2014 отправка: " + std::to_wstring(started) + L" из " +
                                      std::to_wstring(total) + L" (Esc \u2014 остановить)";
            SetWindowTextW(window_, text.c_str());
            shown_ = true;
            lastShown_ = now;
            UpdateWindow(window_);
        }
        return !stop_;
    }

private:
    static std::wstring WindowText(HWND window) {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
        return text;
    }
    static bool IsInput(UINT message) {
        return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
               (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
               (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) || message == WM_NCMOUSEHOVER ||
               message == WM_NCMOUSELEAVE || message == WM_MOUSEHOVER || message == WM_MOUSELEAVE;
    }
    void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {  // for the loop that comes after the send
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            if (IsInput(msg.message)) {
                if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) stop_ = true;
                continue;
            }
            if (msg.message == WM_DROPFILES || msg.message == WM_CLOSE) {  // handled once the send is over
                deferred_.push_back(msg);
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

    HWND window_;
    std::wstring caption_;
    std::chrono::steady_clock::time_point begin_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point lastShown_{};
    std::vector<MSG> deferred_;
    bool shown_ = false;
    bool stop_ = false;
};

}  // namespace

bool TMainForm::LoadMailClient() {
    const MailClientInfo info = ReadMailClient(config_.registryRoot, config_.clientKey);
    if (!info.found) {
        prompter_.Show(hwnd_, {L"Error", L"TheBAT! не найден!", ui::MessageIcon::Error, ui::MessageButtons::Ok});
        return false;
    }
    clientExePath_ = info.exePath;
    if (info.badValue && *info.badValue == L"EXE path") throw AppError(L"Invalid data type for 'EXE path'");
    ComboAccaunts.ClearItems();
    for (const auto& mailbox : info.mailboxes) ComboAccaunts.AddItem(mailbox);
    if (info.badValue) throw AppError(L"Invalid data type for '" + *info.badValue + L"'");
    return true;
}

void TMainForm::btMakeQueryClick() {
    if (sending_) return;  // a press while the send's starts are under way starts nothing
    // An empty input only moves the focus to where it is given, in this order.
    if (EditAdress.Text().empty()) return void(SetFocus(ListViewAdress.Handle()));
    if (ComboAccaunts.Text().empty()) return void(SetFocus(ComboAccaunts.Handle()));
    if (EditSubj1.Text().empty()) return void(SetFocus(EditSubj1.Handle()));
    if (sendList_.Empty()) return void(SetFocus(ListViewFiles.Handle()));

    SendRequest request{clientExePath_, ComboAccaunts.Text(), EditAdress.Text(), EditSubj1.Text(),
                        CheckBoxEdit.Checked()};
    if (const auto field = FindUnquotableField(request.mailbox, request.address, request.subjectTemplate)) {
        prompter_.Show(hwnd_, {L"Korvex",
                               std::wstring(L"Поле \u00AB") + FieldName(*field) +
                                   L"\u00BB содержит и двойные, и одинарные кавычки: почтовый клиент не сможет "
                                   L"его прочитать.\r\nУберите кавычки одного вида и повторите отправку.",
                               ui::MessageIcon::Warning, ui::MessageButtons::Ok});
        const HWND target = *field == SendField::Mailbox   ? ComboAccaunts.Handle()
                            : *field == SendField::Address ? EditAdress.Handle()
                                                           : EditSubj1.Handle();
        SetFocus(target);
        return;
    }
    // Everything the starts need is checked before the first: a send starts all its files or none.
    const std::wstring application = ClientApplication(clientExePath_);
    if (const auto problem = CheckClientPath(application, &KindOfPath)) {
        prompter_.Show(hwnd_, {L"Korvex", ClientPathMessage(*problem, application), ui::MessageIcon::Error,
                               ui::MessageButtons::Ok});
        return;
    }
    SendPlan plan = PlanSend(request, sendList_.Entries());
    if (plan.firstOverlong) {
        const SendListEntry& entry = sendList_[*plan.firstOverlong];
        prompter_.Show(hwnd_,
                       {L"Korvex",
                        L"Команда запуска почтового клиента для файла\r\n" + Quoted(entry.folder + entry.fileName) +
                            L"\r\nдлиннее " + std::to_wstring(kMaxCommandLength) +
                            L" символов: больше Windows не передаёт программе.\r\nНичего не отправлено. "
                            L"Сократите тему, адрес или путь к файлу.",
                        ui::MessageIcon::Error, ui::MessageButtons::Ok});
        return;
    }

    // A file that is gone is never handed to the client: the user hears of it first and may send
    // the others, which keep their numbers in the list.
    const auto missing = FindMissingFiles(sendList_.Entries(), [](std::wstring_view path) {
        const DWORD attributes = platform::FileAttributes(path);
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    });
    if (!missing.empty()) {
        const std::wstring text = MissingFilesText(sendList_.Entries(), missing, kShownPathLength);
        if (missing.size() == sendList_.Size()) {
            prompter_.Show(hwnd_, {L"Korvex", text, ui::MessageIcon::Error, ui::MessageButtons::Ok});
            return;
        }
        ui::MessageSpec question{L"Korvex", text, ui::MessageIcon::Warning, ui::MessageButtons::Choices};
        question.choices = {L"Отправить остальные", L"Отмена"};
        if (prompter_.Show(hwnd_, question) != ui::ChoiceResult(0)) return;
        SkipEntries(plan, missing);
    }

    DispatchOutcome outcome;
    {
        struct SendingFlag {
            bool& flag;
            explicit SendingFlag(bool& f) : flag(f) { flag = true; }
            ~SendingFlag() { flag = false; }
        } sending(sending_);
        ui::BusyCursor busy;
        SendProgressView progress(hwnd_);
        outcome = StartSend(plan, config_.startProcess,
                            [&](std::size_t started, std::size_t total) { return progress.Update(started, total); });
    }
    std::wstring summary;
    if (outcome.stopped) {
        const std::size_t started = outcome.attempted - outcome.failed;
        summary = L"Отправка остановлена: запущено " + std::to_wstring(started) + L" из " +
                  std::to_wstring(outcome.total) + L", не запущено " + std::to_wstring(outcome.total - started) + L".";
    }
    if (outcome.failed > 0) {
        if (!summary.empty()) summary += L"\r\n";
        summary += L"Почтовый клиент не удалось запустить для " + std::to_wstring(outcome.failed) + L" из " +
                   std::to_wstring(outcome.attempted) + L" файлов.\r\n" + clientExePath_ + L":\r\n" +
                   platform::SystemMessage(outcome.firstError);
    }
    if (!summary.empty())
        prompter_.Show(hwnd_,
                       {L"Korvex", summary, outcome.failed > 0 ? ui::MessageIcon::Error : ui::MessageIcon::Information,
                        ui::MessageButtons::Ok});
}

}  // namespace korvex
