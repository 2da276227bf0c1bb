// TMainForm: the mail client and the send.

#include "MainForm.h"

#include <algorithm>
#include <chrono>

#include "AppError.h"
#include "BusyCursor.h"
#include "FileSystem.h"
#include "ModalPump.h"
#include "SendCommand.h"
#include "SendText.h"
#include "UniqueResource.h"
#include "Win32Error.h"

namespace korvex {

namespace {

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

// While the send starts its processes, and while it waits for each to settle, the window keeps
// painting, shows "57 из 200" in its caption once the send takes longer than the delay (half a
// second unless configured), and takes no input: a click or a key goes nowhere, except Esc, which
// stops the send after the start under way. A close of the window reaches it at once: the window
// asks whether to stop.
class SendProgressView {
public:
    SendProgressView(HWND window, std::chrono::milliseconds delay)
        : window_(window), caption_(WindowText(window)), delay_(delay), pump_(ui::ModalPump::Dispatch::All, window) {}
    ~SendProgressView() {
        if (shown_) SetWindowTextW(window_, caption_.c_str());
    }
    SendProgressView(const SendProgressView&) = delete;
    SendProgressView& operator=(const SendProgressView&) = delete;

    bool Update(std::size_t started, std::size_t total) {
        pump_.Pump();
        const auto now = std::chrono::steady_clock::now();
        if (now - begin_ >= delay_ && (now - lastShown_ >= std::chrono::milliseconds(50) || started == total)) {
            const std::wstring text = caption_ + L" \u2014 отправка: " + std::to_wstring(started) + L" из " +
                                      std::to_wstring(total) + L" (Esc \u2014 остановить)";
            SetWindowTextW(window_, text.c_str());
            shown_ = true;
            lastShown_ = now;
            UpdateWindow(window_);
        }
        return !pump_.EscapePressed();
    }

private:
    static std::wstring WindowText(HWND window) {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
        return text;
    }

public:
    // Lets the window paint and takes the input out of the queue unhandled, noting Esc; used
    // while the send waits for a start to settle.
    void Pump() { pump_.Pump(); }

private:
    HWND window_;
    std::wstring caption_;
    std::chrono::milliseconds delay_;
    std::chrono::steady_clock::time_point begin_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point lastShown_{};
    ui::ModalPump pump_;
    bool shown_ = false;
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
    // A second send of the same files, or the rest of one cut short, is asked about first: it
    // decides which files go and with which numbers.
    const auto selection = ChooseSendPositions(request);
    if (!selection) return;
    std::vector<SendList::PartNumber> numbers(sendList_.Size());
    for (std::size_t k = 0; k < selection->positions.size(); ++k)
        numbers[selection->positions[k]] = selection->numbers[k];
    if (selection->set != 0) {  // the rest of a set: its started members keep their subjects in the record
        for (std::size_t i = 0; i < sendList_.Size(); ++i)
            if (const SendPart* part = sendList_.PartIn(i, selection->set)) numbers[i] = {part->number, part->count};
    }
    SendPlan plan = PlanSend(request, sendList_.Entries(), kMaxCommandLength, numbers);
    if (plan.firstOverlong) {
        const SendListEntry& entry = sendList_[*plan.firstOverlong];
        prompter_.Show(hwnd_,
                       {L"Korvex",
                        L"Команда запуска почтового клиента для файла\r\n" + QuotedPath(entry.folder + entry.fileName) +
                            L"\r\nдлиннее " + std::to_wstring(kMaxCommandLength) +
                            L" символов: больше Windows не передаёт программе.\r\nНичего не отправлено. "
                            L"Сократите тему, адрес или путь к файлу.",
                        ui::MessageIcon::Error, ui::MessageButtons::Ok});
        return;
    }

    // A file that is gone is never handed to the client: the user hears of it first and may send
    // the others, which keep their numbers.
    std::vector<std::size_t> missing;
    for (const std::size_t i : FindMissingFiles(sendList_.Entries(), [](std::wstring_view path) {
             const DWORD attributes = platform::FileAttributes(path);
             return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
         }))
        if (numbers[i].number != 0 && std::binary_search(selection->positions.begin(), selection->positions.end(), i))
            missing.push_back(i);
    if (!missing.empty()) {
        const std::wstring text =
            MissingFilesText(sendList_.Entries(), missing, kShownPathLength, selection->positions.size());
        if (missing.size() == selection->positions.size()) {
            prompter_.Show(hwnd_, {L"Korvex", text, ui::MessageIcon::Error, ui::MessageButtons::Ok});
            return;
        }
        ui::MessageSpec question{L"Korvex", text, ui::MessageIcon::Warning, ui::MessageButtons::Choices};
        question.choices = {L"Отправить остальные", L"Отмена"};
        if (prompter_.Show(hwnd_, question) != ui::ChoiceResult(0)) return;
        SkipEntries(plan, missing);
    }
    std::vector<std::size_t> toStart;
    for (const std::size_t i : selection->positions)
        if (!(i < plan.skipped.size() && plan.skipped[i])) toStart.push_back(i);
    if (!OpenJournal()) return;
    // A new set exists from here on; a send that does not start leaves none behind.
    sendSet_ = selection->set != 0
                   ? selection->set
                   : sendList_.BeginSet(request.mailbox, request.address, selection->positions, selection->numbers);
    if (selection->set == 0) {
        // The files of a new set show this send's progress in the "Отправлено" column.
        for (const std::size_t i : selection->positions) sendList_.SetMark(i, {});
        RefreshSendListView();
    }
    if (!OpenSavedSend(request, plan, sendSet_)) {
        journal_.Close();
        if (selection->set == 0) sendList_.DropSet(sendSet_);
        return;
    }

    DispatchOutcome outcome;
    {
        sending_ = true;
        const platform::ScopeExit sending([this] { sending_ = false; });
        ui::BusyCursor busy;
        SendProgressView progress(hwnd_, std::chrono::milliseconds(config_.progressDelayMs));
        outcome = RunSend(
            request, plan, toStart, [&] { progress.Pump(); },
            [&](std::size_t started, std::size_t total) {
                return progress.Update(started, total) && !closeAfterSend_;
            });
    }
    // Stopped for a close: the journal and the record are written; no summary; the window closes
    // from the message loop, once nothing of the send is left on its stack.
    if (closeAfterSend_) return void(PostMessageW(hwnd_, WM_CLOSE, 0, 0));
    std::vector<std::wstring> gonePaths;
    for (const std::size_t i : outcome.gone) gonePaths.push_back(sendList_[i].FullPath());
    std::wstring summary =
        SendSummary(outcome, clientExePath_,
                    outcome.failed > 0 ? platform::SystemMessage(outcome.firstError, ClientApplication(clientExePath_))
                                       : std::wstring(),
                    gonePaths);
    if (const std::wstring problems = SendRecordProblems(); !problems.empty()) {
        if (!summary.empty()) summary += L"\r\n";
        summary += problems;
    }
    if (!summary.empty())
        prompter_.Show(hwnd_, {L"Korvex", summary,
                               outcome.failed > 0 || !outcome.gone.empty() || !SendRecordProblems().empty()
                                   ? ui::MessageIcon::Error
                                   : ui::MessageIcon::Information,
                               ui::MessageButtons::Ok});
}

}  // namespace korvex
