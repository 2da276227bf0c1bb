// TMainForm: the address book and the address list.

#include "MainForm.h"

#include "AddressBook.h"
#include "FileSystem.h"
#include "Locale.h"
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
    // The list is virtual: it asks for the rows it shows, so a book of any size costs one count.
    addressRows_ =
        std::make_shared<const AddressRows>(DecodeAddressBook(platform::ReadFileBytes(path), &platform::WideFromAnsi));
    ListViewAdress.SetVirtualCount(addressRows_->size());
    // Suggestions are a convenience: without the system's autocomplete the box works as before.
    if (!addressRows_->empty()) addressSuggestions_.Attach(EditAdress.Handle(), addressRows_);
    return true;
}

void TMainForm::ListViewAdressChange() {
    // The rows' count bounds it: a selection beyond the book is none.
    if (const int selected = ListViewAdress.FirstSelected(); selected >= 0)
        EditAdress.SetText((*addressRows_)[static_cast<std::size_t>(selected)]);
}

LRESULT TMainForm::ListViewAdressNotify(NMHDR* header) {
    const AddressRows& rows = *addressRows_;
    switch (header->code) {
        case LVN_ODFINDITEMW: {
            // Typing letters in the list: the next entry that begins with them.
            const auto* find = reinterpret_cast<NMLVFINDITEMW*>(header);
            if (!(find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find->lvfi.psz) return -1;
            const auto row = FindRow(rows,
                                     {.text = find->lvfi.psz,
                                      .start = static_cast<std::size_t>(std::max(find->iStart, 0)),
                                      .partial = (find->lvfi.flags & LVFI_PARTIAL) != 0,
                                      .wrap = (find->lvfi.flags & LVFI_WRAP) != 0},
                                     &platform::FoldCase);
            return row ? static_cast<LRESULT>(*row) : -1;
        }
        case LVN_ITEMCHANGED: ListViewAdressChange(); return 0;
        default: return 0;
    }
}

}  // namespace korvex
