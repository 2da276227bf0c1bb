// TMainForm: what a send leaves behind and asks before it starts. The marks of the send list's
// "Отправлено" column and the text "Отправлено k из n" after a send; the questions before a second
// send of the same files and before finishing one that was cut short; the journal of starts; the
// record of a send under way, which survives a crash and is offered back at the next start.

#include "MainForm.h"

#include <commctrl.h>

#include <numeric>

#include "FileSystem.h"
#include "Locale.h"
#include "Process.h"
#include "PathText.h"
#include "SavedSend.h"
#include "SizeText.h"
#include "Utf8.h"
#include "Win32Error.h"

namespace korvex {

namespace {

std::wstring Angled(std::wstring_view text) {
    return L"\u00AB" + ShortenMiddle(text, 120) + L"\u00BB";
}

std::vector<std::size_t> AllPositions(std::size_t count) {
    std::vector<std::size_t> positions(count);
    std::iota(positions.begin(), positions.end(), std::size_t{0});
    return positions;
}

}  // namespace

std::wstring TMainForm::JournalPath() const {
    return JournalPathFor(config_.exePath);
}

std::wstring TMainForm::SavedSendPath() const {
    return SavedSendPathFor(config_.exePath);
}

std::optional<std::vector<std::size_t>> TMainForm::ChooseSendPositions(const SendRequest& request) {
    const std::size_t count = sendList_.Size();
    const std::size_t started = sendList_.StartedTo(request.mailbox, request.address);
    if (started == 0) return AllPositions(count);
    std::wstring lastTime;
    for (const auto& entry : sendList_.Entries())
        if (entry.mark.state == SentState::Started) lastTime = entry.mark.text;
    const std::wstring where = L"на адрес " + Angled(request.address) + L" с ящика " + Angled(request.mailbox) +
                               L", последний запуск в " + lastTime;
    if (started == count) {
        const auto answer = prompter_.Show(hwnd_, {L"Korvex",
                                                   L"Эти файлы уже отправлены " + where + L".\r\nОтправить их ещё раз?",
                                                   ui::MessageIcon::Warning,
                                                   ui::MessageButtons::Choices,
                                                   {L"Отправить ещё раз", L"Отмена"},
                                                   1});
        if (answer != ui::ChoiceResult(0)) return std::nullopt;
        sendList_.ClearMarks();
        return AllPositions(count);
    }
    const auto answer = prompter_.Show(
        hwnd_, {L"Korvex",
                L"Отправлено " + std::to_wstring(started) + L" из " + std::to_wstring(count) + L" " + where +
                    L".\r\n\u00ABОставшиеся\u00BB отправит только остальные файлы, с теми же номерами частей; "
                    L"\u00ABВсе заново\u00BB \u2014 все файлы.",
                ui::MessageIcon::Warning,
                ui::MessageButtons::Choices,
                {L"Оставшиеся", L"Все заново", L"Отмена"},
                0});
    if (answer == ui::ChoiceResult(1)) {
        sendList_.ClearMarks();
        return AllPositions(count);
    }
    if (answer != ui::ChoiceResult(0)) return std::nullopt;
    std::vector<std::size_t> rest;
    for (std::size_t i = 0; i < count; ++i) {
        const SentMark& mark = sendList_[i].mark;
        if (!(mark.state == SentState::Started && mark.mailbox == request.mailbox && mark.address == request.address))
            rest.push_back(i);
    }
    return rest;
}

bool TMainForm::OpenJournal() {
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

DispatchOutcome TMainForm::RunSend(const SendRequest& request, const SendPlan& plan,
                                   const std::vector<std::size_t>& positions, const std::function<void()>& pump,
                                   const SendProgress& progress) {
    journalErrors_ = 0;
    journalError_ = 0;
    // The record of this send: replaced at once, then each start appended as it is made.
    SavedSend saved{request.mailbox, request.address, request.subjectTemplate, request.edit, {}};
    for (std::size_t i = 0; i < sendList_.Size(); ++i) {
        const SentMark& mark = sendList_[i].mark;
        const bool started =
            mark.state == SentState::Started && mark.mailbox == request.mailbox && mark.address == request.address;
        saved.entries.push_back({sendList_[i].FullPath(), plan.subjects[i], started, started ? mark.text : L""});
    }
    const std::wstring savedPath = SavedSendPath();
    savedSendError_ = platform::ReplaceFileAtomically(savedPath, SavedSendText(saved));
    if (savedSendError_ == 0) savedSendError_ = savedSend_.Open(savedPath, {});

    const std::size_t count = sendList_.Size();
    SendHooks hooks;
    hooks.started = [&](std::size_t position, const StartOutcome& outcome) {
        const ZonedTime now = platform::LocalNow();
        const SendListEntry& entry = sendList_[position];
        const std::wstring result = outcome.error != 0  ? FailedResult(platform::SystemMessage(outcome.error))
                                    : outcome.confirmed ? std::wstring(kResultStarted)
                                                        : std::wstring(kResultUnconfirmed);
        if (journal_.IsOpen()) {
            const JournalRecord record{now,
                                       request.mailbox,
                                       request.address,
                                       plan.subjects[position],
                                       entry.FullPath(),
                                       platform::ProbeFileSize(entry.FullPath()),
                                       position + 1,
                                       count,
                                       result};
            if (const DWORD error = journal_.Append(EncodeUtf8(JournalLine(record)) + "\r\n"); error != 0) {
                if (journalErrors_++ == 0) journalError_ = error;
            }
        }
        const bool started = outcome.error == 0;
        const std::wstring clock = ClockText(now);
        if (started && savedSend_.IsOpen()) savedSend_.Append(StartedLine(position, clock));
        sendList_.SetMark(position, {started ? SentState::Started : SentState::Failed, started ? clock : result,
                                     request.mailbox, request.address});
        ListView_RedrawItems(ListViewFiles.Handle(), static_cast<int>(position), static_cast<int>(position));
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

    const ProcessStarter real = [&](std::wstring_view application, std::wstring_view commandLine) -> StartOutcome {
        const auto result = platform::StartAndSettle(application, commandLine, config_.startBoundMs, pump);
        return {result.error, result.confirmed};
    };
    const DispatchOutcome outcome =
        StartSend(plan, positions, config_.startProcess ? config_.startProcess : real, hooks);

    // The send has ended, completed or stopped: nothing is left to finish.
    savedSend_.Close();
    journal_.Close();
    // A send stopped by closing the window is offered again at the next start.
    if (!(closeAfterSend_ && outcome.stopped)) DeleteFileW(platform::ToApiPath(savedPath).c_str());
    ShowSendStatus(request);
    return outcome;
}

std::wstring TMainForm::SendRecordProblems() const {
    std::wstring text;
    if (journalErrors_ > 0)
        text += L"В журнал не записано строк: " + std::to_wstring(journalErrors_) + L".\r\n" + JournalPath() +
                L":\r\n" + platform::SystemMessage(journalError_);
    if (savedSendError_ != 0) {
        if (!text.empty()) text += L"\r\n";
        text += L"Запись хода отправки (для её завершения после сбоя) не удалось сохранить:\r\n" + SavedSendPath() +
                L":\r\n" + platform::SystemMessage(savedSendError_);
    }
    return text;
}

void TMainForm::ShowSendStatus(const SendRequest& request) {
    const std::size_t started = sendList_.StartedTo(request.mailbox, request.address);
    sendStatus_ = L"Отправлено " + std::to_wstring(started) + L" из " + std::to_wstring(sendList_.Size()) +
                  L" \u2014 " + request.mailbox + L", " + request.address + L", " + ClockText(platform::LocalNow());
    PanelAddProgress.SetCaption(sendStatus_);
}

void TMainForm::ClearSendStatus() {
    if (sendStatus_.empty()) return;
    sendStatus_.clear();
    PanelAddProgress.SetCaption(L"");
}

void TMainForm::OfferInterruptedSend() {
    const std::wstring path = SavedSendPath();
    std::string bytes;
    try {
        bytes = platform::ReadFileBytes(path);
    } catch (const std::exception&) {
        return;  // no send was cut short
    }
    const auto saved = ParseSavedSend(bytes);
    if (!saved) {
        // A record that cannot be read says only that a send was cut short; its files are not known.
        prompter_.Show(hwnd_, {L"Korvex",
                               L"Прошлая отправка прервана, но её запись не читается:\r\n" + Angled(path) +
                                   L"\r\nКакие файлы ушли, смотрите в журнале отправок.",
                               ui::MessageIcon::Warning, ui::MessageButtons::Ok});
        DeleteFileW(platform::ToApiPath(path).c_str());
        return;
    }
    const auto answer = prompter_.Show(
        hwnd_, {L"Korvex",
                L"Прошлая отправка прервана: отправлено " + std::to_wstring(saved->StartedCount()) + L" из " +
                    std::to_wstring(saved->entries.size()) + L" файлов с ящика " + Angled(saved->mailbox) +
                    L" на адрес " + Angled(saved->address) +
                    L".\r\n\u00ABВосстановить\u00BB вернёт её файлы в список отправки, чтобы отправить оставшиеся.",
                ui::MessageIcon::Warning,
                ui::MessageButtons::Choices,
                {L"Восстановить", L"Отказаться"},
                0});
    if (answer == ui::ChoiceResult(0)) {
        // The files of the send in its order, with its marks: "Отправить" then offers the rest.
        sendList_.Clear();
        for (std::size_t i = 0; i < saved->entries.size(); ++i) {
            const SavedSendEntry& entry = saved->entries[i];
            sendList_.Add(entry.path, SizeToText(platform::ProbeFileSize(entry.path), platform::DecimalSeparator()));
            if (entry.started && sendList_.Size() > 0)
                sendList_.SetMark(sendList_.Size() - 1,
                                  {SentState::Started, entry.startedAt, saved->mailbox, saved->address});
        }
        RefreshSendListView();
        ComboAccaunts.SetText(saved->mailbox);
        EditAdress.SetText(saved->address);
        EditSubj1.SetText(saved->subjectTemplate);
        CheckBoxEdit.SetChecked(saved->edit);
        return;  // kept until the next send replaces it: the send is not finished yet
    }
    DeleteFileW(platform::ToApiPath(path).c_str());
}

}  // namespace korvex
