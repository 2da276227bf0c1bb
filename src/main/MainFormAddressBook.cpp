// TMainForm: the address book and the address list.

#include "MainForm.h"

#include "AddressBook.h"
#include "FileSystem.h"
#include "PathText.h"
#include "TextConversion.h"

namespace korvex {

std::wstring TMainForm::AddressBookPath() const {
    return EnsureBackslash(ExtractFileDir(config_.exePath)) + L"adress.txt";
}

bool TMainForm::LoadAddressBook() {
    const std::wstring path = AddressBookPath();
    const DWORD attributes = platform::FileAttributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        const auto answer = prompter_.Show(hwnd_, {L"Warning", L"Файл \"adress.txt\" не найден!\r\nПродолжить работу?",
                                                   ui::MessageIcon::Warning, ui::MessageButtons::YesNo});
        return answer != ui::MessageResult::No;
    }
    const auto entries = DecodeAddressBook(platform::ReadFileBytes(path), &platform::WideFromAnsi);
    SendMessageW(ListViewAdress.Handle(), WM_SETREDRAW, FALSE, 0);
    int index = 0;
    for (const auto& entry : entries) ListViewAdress.InsertItem(index++, entry);
    SendMessageW(ListViewAdress.Handle(), WM_SETREDRAW, TRUE, 0);
    return true;
}

void TMainForm::ListViewAdressChange() {
    const int selected = ListViewAdress.FirstSelected();
    if (selected >= 0) EditAdress.SetText(ListViewAdress.ItemText(selected));
}

}  // namespace korvex
