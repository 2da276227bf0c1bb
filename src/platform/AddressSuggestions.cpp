#include "AddressSuggestions.h"

#include <shlguid.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <new>
#include "ComObject.h"

namespace korvex::platform {

namespace {

// An IEnumString over the rows; its position is guarded, since the autocomplete object may walk
// it from a thread of its own.
class RowEnumerator final : public ComObject<IEnumString> {
public:
    explicit RowEnumerator(RowCursor cursor) : cursor_(std::move(cursor)) {}

    HRESULT STDMETHODCALLTYPE Next(ULONG count, LPOLESTR* strings, ULONG* fetched) override {
        if (!strings || (count > 1 && !fetched)) return E_POINTER;
        if (fetched) *fetched = 0;
        std::lock_guard lock(mutex_);
        const std::size_t before = cursor_.Position();
        const auto rows = cursor_.Next(count);
        ULONG done = 0;
        for (const auto row : rows) {
            auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc((row.size() + 1) * sizeof(wchar_t)));
            if (!copy) {
                // Hand out nothing rather than part: the caller would not know which rows it got.
                for (ULONG i = 0; i < done; ++i) CoTaskMemFree(std::exchange(strings[i], nullptr));
                cursor_.Reset();
                cursor_.Skip(before);
                return E_OUTOFMEMORY;
            }
            std::memcpy(copy, row.data(), row.size() * sizeof(wchar_t));
            copy[row.size()] = L'\0';
            strings[done++] = copy;
        }
        if (fetched) *fetched = done;
        return done == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        std::lock_guard lock(mutex_);
        return cursor_.Skip(count) ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        std::lock_guard lock(mutex_);
        cursor_.Reset();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumString** clone) override {
        if (!clone) return E_POINTER;
        std::lock_guard lock(mutex_);
        *clone = new (std::nothrow) RowEnumerator(cursor_);
        return *clone ? S_OK : E_OUTOFMEMORY;
    }

private:
    ~RowEnumerator() = default;
    std::mutex mutex_;
    RowCursor cursor_;
};

}  // namespace

ComPtr<IEnumString> MakeRowEnumerator(std::shared_ptr<const AddressRows> rows) {
    return ComPtr<IEnumString>(new (std::nothrow) RowEnumerator(RowCursor(std::move(rows))));
}

HRESULT AddressSuggestions::Attach(HWND edit, std::shared_ptr<const AddressRows> rows) {
    Detach();
    ComPtr<IAutoComplete2> autoComplete;
    HRESULT hr = CoCreateInstance(CLSID_AutoComplete, nullptr, CLSCTX_INPROC_SERVER, IID_IAutoComplete2,
                                  autoComplete.put_void());
    if (FAILED(hr)) return hr;
    const ComPtr<IEnumString> strings = MakeRowEnumerator(std::move(rows));
    if (!strings) return E_OUTOFMEMORY;
    hr = autoComplete->Init(edit, strings.get(), nullptr, nullptr);
    if (FAILED(hr)) return hr;
    hr = autoComplete->SetOptions(ACO_AUTOSUGGEST);
    if (FAILED(hr)) {
        autoComplete->Enable(FALSE);
        return hr;
    }
    autoComplete_ = std::move(autoComplete);
    return S_OK;
}

void AddressSuggestions::Detach() noexcept {
    if (autoComplete_) autoComplete_->Enable(FALSE);
    autoComplete_.reset();
}

}  // namespace korvex::platform
