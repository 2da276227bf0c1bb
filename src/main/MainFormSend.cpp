// TMainForm: the mail client and the send.

#include "MainForm.h"

#include "AppError.h"
#include "BusyCursor.h"
#include "SendCommand.h"
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
    const DispatchOutcome outcome = [&] {
        ui::BusyCursor busy;
        return DispatchSend(request, sendList_.Entries(), config_.startProcess);
    }();
    if (outcome.failed > 0) {
        prompter_.Show(hwnd_, {L"Korvex",
                               L"Почтовый клиент не удалось запустить для " + std::to_wstring(outcome.failed) +
                                   L" из " + std::to_wstring(outcome.attempted) + L" файлов.\r\n" + clientExePath_ +
                                   L":\r\n" + platform::SystemMessage(outcome.firstError),
                               ui::MessageIcon::Error, ui::MessageButtons::Ok});
    }
}

}  // namespace korvex
