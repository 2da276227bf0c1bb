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
#include "SendChoice.h"
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

std::optional<TMainForm::SendSelection> TMainForm::ChooseSendPositions(const SendRequest& request) {
    const std::size_t count = sendList_.Size();
    const SendChoice choice = ChooseSend(sendList_, request.mailbox, request.address);
    // A new set of the given positions, numbered among themselves in list order.
    const auto newSet = [](std::vector<std::size_t> positions) {
        SendSelection selection;
        for (std::size_t k = 0; k < positions.size(); ++k) selection.numbers.push_back({k + 1, positions.size()});
        selection.positions = std::move(positions);
        return selection;
    };
    if (choice.kind == SendChoiceKind::First) return newSet(AllPositions(count));
    const std::wstring where = L"на адрес " + Angled(request.address) + L" с ящика " + Angled(request.mailbox) +
                               L", последний запуск в " + choice.lastStartedAt;
    if (choice.kind == SendChoiceKind::AlreadySent) {
        const auto answer = prompter_.Show(hwnd_, {L"Korvex",
                                                   L"Эти файлы уже отправлены " + where + L".\r\nОтправить их ещё раз?",
                                                   ui::MessageIcon::Warning,
                                                   ui::MessageButtons::Choices,
                                                   {L"Отправить ещё раз", L"Отмена"},
                                                   1});
        if (answer != ui::ChoiceResult(0)) return std::nullopt;
        return newSet(AllPositions(count));
    }
    std::wstring text = L"Отправлено " + std::to_wstring(choice.started) + L" из " + std::to_wstring(choice.count) +
                        L" " + where + L".\r\n";
    std::vector<std::wstring> choices;
    if (choice.kind == SendChoiceKind::Rest) {
        text += L"\u00ABОставшиеся\u00BB отправит только остальные файлы той отправки, с теми же номерами частей";
        if (choice.outside > 0)
            text += L" (добавленные после неё файлы \u2014 " + std::to_wstring(choice.outside) +
                    L" \u2014 в неё не входят)";
        text += L"; \u00ABВсе заново\u00BB \u2014 все файлы.";
        choices = {L"Оставшиеся", L"Все заново", L"Отмена"};
    } else {
        text += L"Файлов, добавленных после неё: " + std::to_wstring(choice.rest.size()) +
                L".\r\n\u00ABНовые\u00BB отправит только их, с номерами частей среди них; \u00ABВсе заново\u00BB "
                L"\u2014 все файлы.";
        choices = {L"Новые", L"Все заново", L"Отмена"};
    }
    const auto answer =
        prompter_.Show(hwnd_, {L"Korvex", text, ui::MessageIcon::Warning, ui::MessageButtons::Choices, choices, 0});
    if (answer == ui::ChoiceResult(1)) return newSet(AllPositions(count));
    if (answer != ui::ChoiceResult(0)) return std::nullopt;
    if (choice.kind == SendChoiceKind::New) return newSet(choice.rest);
    // The rest of the set, each with the number that set gave it.
    SendSelection rest;
    rest.set = choice.set;
    for (const std::size_t i : choice.rest) {
        const SendPart* part = sendList_.PartIn(i, choice.set);
        rest.positions.push_back(i);
        rest.numbers.push_back({part->number, part->count});
    }
    return rest;
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
    } catch (const platform::Win32Error& e) {
        if (e.Code() == ERROR_FILE_NOT_FOUND || e.Code() == ERROR_PATH_NOT_FOUND) return;  // no send was cut short
        // A record that is there but cannot be read now (held by another program, no access) is
        // kept: the next start tries again, and the user knows a send may have been cut short.
        prompter_.Show(hwnd_, {L"Korvex",
                               L"Возможно, прошлая отправка прервана, но её запись сейчас не прочитать:\r\n" +
                                   Angled(path) + L"\r\n" + platform::SystemMessage(e.Code()) +
                                   L"\r\nЗапись оставлена до следующего запуска. Какие файлы ушли, смотрите в журнале "
                                   L"отправок.",
                               ui::MessageIcon::Warning, ui::MessageButtons::Ok});
        return;
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
        // The files of the send in its order, as one set with its numbers and its starts:
        // "Отправить" then offers the rest, and files added later do not join it.
        sendList_.Clear();
        std::vector<std::size_t> positions;
        std::vector<SendList::PartNumber> numbers;
        std::vector<const SavedSendEntry*> members;
        for (const SavedSendEntry& entry : saved->entries) {
            // The record is read as the list spells paths: a hand-edited one with two spellings of
            // one file gives one entry, which keeps its number.
            const std::wstring canonical = platform::CanonicalPath(entry.path);
            if (!sendList_.Add(canonical,
                               SizeToText(platform::ProbeFileSize(canonical), platform::DecimalSeparator()))) {
                // Already there: a start under either spelling is a start of the file.
                if (entry.started)
                    for (std::size_t k = 0; k < members.size(); ++k)
                        if (platform::SameNameIgnoringCase(sendList_[positions[k]].FullPath(), canonical) &&
                            !members[k]->started)
                            members[k] = &entry;
                continue;
            }
            positions.push_back(sendList_.Size() - 1);
            numbers.push_back({entry.number, entry.count});
            members.push_back(&entry);
        }
        const std::uint32_t set = sendList_.BeginSet(saved->mailbox, saved->address, positions, numbers);
        for (std::size_t k = 0; k < positions.size(); ++k) {
            if (!members[k]->started) continue;
            sendList_.SetStarted(positions[k], set, members[k]->startedAt);
            sendList_.SetMark(positions[k],
                              {SentState::Started, members[k]->startedAt, saved->mailbox, saved->address});
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
