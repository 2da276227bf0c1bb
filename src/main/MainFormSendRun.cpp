// TMainForm: the starts of one send and what each leaves behind at once. The journal gets its
// line when the client's process has been created (and a second one when the client does not
// answer in time); the record of the send under way gets the start at the same moment, so that a
// crash sends at most the start under way twice; the send-list row shows it. A file is looked for
// right before its start: one that went meanwhile is not handed to the client.

#include "MainForm.h"

#include <commctrl.h>

#include "FileSystem.h"
#include "Process.h"
#include "SavedSend.h"
#include "SendText.h"
#include "Utf8.h"
#include "Win32Error.h"

namespace korvex {

namespace {

std::wstring Angled(std::wstring_view text) {
    return L"\u00AB" + ShortenMiddle(text, 120) + L"\u00BB";
}

constexpr wchar_t kResultGone[] = L"ошибка: файл не найден";

}  // namespace

bool TMainForm::OpenJournal() {
    journalErrors_ = 0;
    journalError_ = 0;
    journalAsked_ = false;
    const std::wstring path = JournalPath();
    const DWORD error = journal_.Open(path, std::string(kUtf8Bom) + EncodeUtf8(kJournalHeader) + "\r\n");
    if (error == 0) return true;
    const auto answer =
        prompter_.Show(hwnd_, {L"Korvex",
                               L"Журнал отправок не удаётся записать:\r\n" + Angled(path) + L"\r\n" +
                                   platform::SystemMessage(error) + L"\r\nОтправить без записи в журнал?",
                               ui::MessageIcon::Warning,
                               ui::MessageButtons::Choices,
                               {L"Отправить без журнала", L"Отмена"},
                               1});
    return answer == ui::ChoiceResult(0);
}

bool TMainForm::OpenSavedSend(const SendRequest& request, const SendPlan& plan, std::uint32_t set) {
    savedSendError_ = 0;
    savedSendRemoveError_ = 0;
    savedSendPositions_.assign(sendList_.Size(), kNotInRecord);
    // The whole set, its members already started included: a resume after a crash finishes it.
    SavedSend saved{request.mailbox, request.address, request.subjectTemplate, request.edit, {}};
    for (std::size_t i = 0; i < sendList_.Size(); ++i) {
        const SendPart* part = sendList_.PartIn(i, set);
        if (!part) continue;
        savedSendPositions_[i] = saved.entries.size();
        saved.entries.push_back(
            {sendList_[i].FullPath(), plan.subjects[i], part->started, part->startedAt, part->number, part->count});
    }
    const std::wstring path = SavedSendPath();
    DWORD error = config_.recordWriteFault ? config_.recordWriteFault() : 0;
    if (error == 0) error = platform::ReplaceFileAtomically(path, SavedSendText(saved));
    if (error == 0) error = savedSend_.Open(path, {});
    if (error == 0) return true;
    savedSend_.Close();
    DeleteFileW(platform::ToApiPath(path).c_str());
    const auto answer =
        prompter_.Show(hwnd_, {L"Korvex",
                               L"Запись хода отправки (для её завершения после сбоя) не удаётся сохранить:\r\n" +
                                   Angled(path) + L"\r\n" + platform::SystemMessage(error) +
                                   L"\r\nБез неё после сбоя не узнать, какие файлы ушли. Отправить без неё?",
                               ui::MessageIcon::Warning,
                               ui::MessageButtons::Choices,
                               {L"Отправить без записи", L"Отмена"},
                               1});
    return answer == ui::ChoiceResult(0);
}

void TMainForm::WriteJournalLine(const SendRequest& request, const SendPlan& plan, std::size_t position,
                                 const ZonedTime& when, std::wstring_view result) {
    if (!journal_.IsOpen()) return;
    const SendListEntry& entry = sendList_[position];
    const SendPart* part = sendList_.PartIn(position, sendSet_);
    const JournalRecord record{when,
                               request.mailbox,
                               request.address,
                               plan.subjects[position],
                               entry.FullPath(),
                               platform::ProbeFileSize(entry.FullPath()),
                               part ? part->number : position + 1,
                               part ? part->count : sendList_.Size(),
                               std::wstring(result)};
    const DWORD error = journal_.Append(EncodeUtf8(JournalLine(record)) + "\r\n");
    if (error == 0) return;
    if (journalErrors_++ == 0) journalError_ = error;
    if (journalAsked_) return;
    // Said at once: the user may rather stop than send on without a record of what went.
    journalAsked_ = true;
    const auto answer =
        prompter_.Show(hwnd_, {L"Korvex",
                               L"Журнал отправок перестал записываться:\r\n" + Angled(JournalPath()) + L"\r\n" +
                                   platform::SystemMessage(error) + L"\r\nПродолжить отправку без записи в журнал?",
                               ui::MessageIcon::Warning,
                               ui::MessageButtons::Choices,
                               {L"Продолжить", L"Остановить"},
                               0});
    if (answer != ui::ChoiceResult(0)) stopRequested_ = true;
}

void TMainForm::NoteCreated(const SendRequest& request, const SendPlan& plan, std::size_t position, DWORD error) {
    const ZonedTime now = platform::LocalNow();
    const std::wstring clock = ClockText(now);
    const std::wstring result =
        error != 0 ? FailedResult(platform::SystemMessage(error, plan.application)) : std::wstring(kResultStarted);
    WriteJournalLine(request, plan, position, now, result);
    if (error == 0) {
        sendList_.SetStarted(position, sendSet_, clock);
        // Every start is in the record before the next is made; one that cannot be written ends
        // the send after this start, or a resume after a crash could send files twice.
        if (savedSend_.IsOpen() && position < savedSendPositions_.size() &&
            savedSendPositions_[position] != kNotInRecord) {
            DWORD recordError = config_.recordWriteFault ? config_.recordWriteFault() : 0;
            if (recordError == 0) recordError = savedSend_.Append(StartedLine(savedSendPositions_[position], clock));
            if (recordError != 0) {
                savedSendError_ = recordError;
                savedSend_.Close();
                stopRequested_ = true;
            }
        }
    }
    sendList_.SetMark(position, {error == 0 ? SentState::Started : SentState::Failed, error == 0 ? clock : result,
                                 request.mailbox, request.address});
    ListView_RedrawItems(ListViewFiles.Handle(), static_cast<int>(position), static_cast<int>(position));
}

DispatchOutcome TMainForm::RunSend(const SendRequest& request, const SendPlan& plan,
                                   const std::vector<std::size_t>& positions, const std::function<void()>& pump,
                                   const SendProgress& progress) {
    stopRequested_ = false;
    std::size_t current = 0;  // the position whose start is under way
    bool noted = false;       // its creation has been written down
    SendHooks hooks;
    hooks.present = [&](std::size_t position) {
        current = position;
        noted = false;
        const DWORD attributes = platform::FileAttributes(sendList_[position].FullPath());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    };
    hooks.started = [&](std::size_t position, const StartOutcome& outcome) {
        if (outcome.gone) {
            WriteJournalLine(request, plan, position, platform::LocalNow(), kResultGone);
            sendList_.SetMark(position, {SentState::Failed, kResultGone, request.mailbox, request.address});
            ListView_RedrawItems(ListViewFiles.Handle(), static_cast<int>(position), static_cast<int>(position));
            return !stopRequested_;
        }
        if (!noted) NoteCreated(request, plan, position, outcome.error);
        if (outcome.error == 0 && !outcome.confirmed)
            WriteJournalLine(request, plan, position, platform::LocalNow(), kResultUnconfirmed);
        return !stopRequested_;
    };
    hooks.goOnUnconfirmed = [&] {
        const auto answer = prompter_.Show(
            hwnd_, {L"Korvex",
                    L"Почтовый клиент не ответил за " + std::to_wstring(config_.startBoundMs / 1000) +
                        L" с после запуска: файл, возможно, не отправлен (в журнале \u2014 \u00ABбез ответа\u00BB)."
                        L"\r\n" +
                        ClientApplication(request.clientPath) + L"\r\nПродолжить отправку остальных файлов?",
                    ui::MessageIcon::Warning,
                    ui::MessageButtons::Choices,
                    {L"Продолжить", L"Остановить"},
                    0});
        return answer == ui::ChoiceResult(0);
    };
    hooks.progress = progress;

    // The product's start: the journal and the record learn of the process as soon as it exists,
    // before the wait for the client to take the file.
    const ProcessStarter real = [&](std::wstring_view application, std::wstring_view commandLine) -> StartOutcome {
        platform::UniqueHandle process;
        const DWORD error = platform::StartProcess(application, commandLine, process);
        NoteCreated(request, plan, current, error);
        noted = true;
        if (error != 0) return {error, false};
        return {0, platform::WaitUntilSettled(process.get(), config_.startBoundMs, pump)};
    };
    const DispatchOutcome outcome =
        StartSend(plan, positions, config_.startProcess ? config_.startProcess : real, hooks);

    // The send has ended, completed or stopped: nothing is left to finish.
    savedSend_.Close();
    journal_.Close();
    const std::wstring savedPath = SavedSendPath();
    // A send stopped by closing the window is offered again at the next start.
    const bool keepRecord = closeAfterSend_ && outcome.stopped;
    if (!keepRecord && !DeleteFileW(platform::ToApiPath(savedPath).c_str())) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) savedSendRemoveError_ = error;
    }
    ShowSendStatus(request);
    return outcome;
}

std::wstring TMainForm::SendRecordProblems() const {
    std::wstring text;
    const auto add = [&](const std::wstring& problem) {
        if (!text.empty()) text += L"\r\n";
        text += problem;
    };
    if (journalErrors_ > 0)
        add(L"В журнал не записано строк: " + std::to_wstring(journalErrors_) + L".\r\n" + JournalPath() + L":\r\n" +
            platform::SystemMessage(journalError_));
    if (savedSendError_ != 0)
        add(L"Запись хода отправки (для её завершения после сбоя) не удалось сохранить, и отправка остановлена "
            L"после последнего записанного запуска:\r\n" +
            SavedSendPath() + L":\r\n" + platform::SystemMessage(savedSendError_));
    if (savedSendRemoveError_ != 0)
        add(L"Запись хода отправки не удалось удалить: при следующем запуске Korvex предложит её восстановить "
            L"\u2014 откажитесь.\r\n" +
            SavedSendPath() + L":\r\n" + platform::SystemMessage(savedSendRemoveError_));
    return text;
}

}  // namespace korvex
