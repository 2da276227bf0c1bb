#pragma once
// Suggestions under an edit box from the address book's rows: the system's autocomplete object
// over a string enumerator of our own.

#include <windows.h>
#include <objidl.h>
#include <shldisp.h>

#include <memory>

#include "AddressList.h"
#include "ComPtr.h"

namespace korvex::platform {

// The rows as an IEnumString: every row in order; the rows stay alive as long as any enumerator
// (or clone of one) does, whichever thread holds it.
ComPtr<IEnumString> MakeRowEnumerator(std::shared_ptr<const AddressRows> rows);

class AddressSuggestions {
public:
    AddressSuggestions() = default;
    AddressSuggestions(const AddressSuggestions&) = delete;
    AddressSuggestions& operator=(const AddressSuggestions&) = delete;
    // Lets go of the object only: the suggestions go on until the edit box is destroyed, which
    // frees the object, its drop-down and the rows. An object switched off first would stay for
    // the rest of the process on Wine, which frees it only while it is on.
    ~AddressSuggestions() = default;

    // Lets edit suggest the rows that begin with what is typed. The HRESULT of the first step that
    // failed (the system may have no autocomplete object); the edit box then works as before.
    HRESULT Attach(HWND edit, std::shared_ptr<const AddressRows> rows);
    // Ends the suggestions while the edit box stays. On Wine the object switched off stays with
    // the edit box for the rest of the process; only a new Attach needs this.
    void Detach() noexcept;
    bool Attached() const noexcept { return static_cast<bool>(autoComplete_); }

private:
    ComPtr<IAutoComplete2> autoComplete_;
};

}  // namespace korvex::platform
