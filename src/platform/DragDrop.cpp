#include "DragDrop.h"

#include <utility>

#include "ComObject.h"

namespace korvex::platform {

namespace {

FORMATETC FileDropFormat() {
    return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool CarriesFiles(IDataObject* data) {
    FORMATETC format = FileDropFormat();
    return data && data->QueryGetData(&format) == S_OK;
}

// A copy where the source allows one, else a link; never a move.
DWORD AcceptedEffect(DWORD allowed) {
    if (allowed & DROPEFFECT_COPY) return DROPEFFECT_COPY;
    if (allowed & DROPEFFECT_LINK) return DROPEFFECT_LINK;
    return DROPEFFECT_NONE;
}

// The storage medium of one GetData, released at the end.
class Medium {
public:
    Medium() = default;
    Medium(const Medium&) = delete;
    Medium& operator=(const Medium&) = delete;
    ~Medium() {
        if (filled_) ReleaseStgMedium(&medium_);
    }
    // Filled only when the GetData it is handed to succeeds.
    STGMEDIUM* put() { return &medium_; }
    void Filled() noexcept { filled_ = true; }
    const STGMEDIUM& get() const { return medium_; }

private:
    STGMEDIUM medium_{};
    bool filled_ = false;
};

class DropSource final : public ComObject<IDropSource> {
public:
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override {
        if (escapePressed) return DRAGDROP_S_CANCEL;
        if (!(keyState & MK_LBUTTON)) return DRAGDROP_S_DROP;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

class FileDropTarget final : public ComObject<IDropTarget> {
public:
    FileDropTarget(DropRegistration::DropHandler onDrop, DropRegistration::ErrorHandler onError)
        : onDrop_(std::move(onDrop)), onError_(std::move(onError)) {}
    void Detach() {
        onDrop_ = nullptr;
        onError_ = nullptr;
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        accepting_ = onDrop_ && CarriesFiles(data);
        return DragOver(0, POINTL{}, effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        if (!effect) return E_INVALIDARG;
        *effect = accepting_ ? AcceptedEffect(*effect) : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        accepting_ = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        if (!effect) return E_INVALIDARG;
        const bool take = onDrop_ && CarriesFiles(data);
        accepting_ = false;
        *effect = take ? AcceptedEffect(*effect) : DROPEFFECT_NONE;
        if (!take || *effect == DROPEFFECT_NONE) return S_OK;
        // Nothing may escape into the drag source's code: a failure goes to the owner's error
        // path once the names are copied or the copying failed, and the source hears of it.
        try {
            std::vector<std::wstring> paths = DroppedPaths(data);
            if (paths.empty()) {
                *effect = DROPEFFECT_NONE;
                return S_OK;
            }
            onDrop_(std::move(paths));
            return S_OK;
        } catch (...) {
            *effect = DROPEFFECT_NONE;
            if (onError_) onError_(std::current_exception());
            return E_UNEXPECTED;
        }
    }

private:
    DropRegistration::DropHandler onDrop_;
    DropRegistration::ErrorHandler onError_;
    bool accepting_ = false;
};

}  // namespace

std::vector<std::wstring> DroppedPaths(HDROP drop) {
    std::vector<std::wstring> paths;
    if (!drop) return paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0) continue;
        std::wstring name(length + 1, L'\0');
        name.resize(DragQueryFileW(drop, i, name.data(), length + 1));
        if (!name.empty()) paths.push_back(std::move(name));
    }
    return paths;
}

std::vector<std::wstring> DroppedPaths(IDataObject* data) {
    if (!data) return {};
    FORMATETC format = FileDropFormat();
    Medium medium;
    if (FAILED(data->GetData(&format, medium.put()))) return {};
    medium.Filled();
    if (medium.get().tymed != TYMED_HGLOBAL) return {};
    return DroppedPaths(static_cast<HDROP>(medium.get().hGlobal));
}

DWORD DragFiles(IDataObject* data) {
    if (!data) return DROPEFFECT_NONE;
    const ComPtr<IDropSource> source(new DropSource);
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT hr = DoDragDrop(data, source.get(), DROPEFFECT_COPY | DROPEFFECT_LINK, &effect);
    return hr == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}

bool DropRegistration::Register(HWND hwnd, DropHandler onDrop, ErrorHandler onError) {
    Revoke();
    target_ = ComPtr<IDropTarget>(new FileDropTarget(std::move(onDrop), std::move(onError)));
    if (FAILED(RegisterDragDrop(hwnd, target_.get()))) return false;
    hwnd_ = hwnd;
    return true;
}

void DropRegistration::Revoke() {
    if (hwnd_) RevokeDragDrop(hwnd_);
    hwnd_ = nullptr;
    if (target_) static_cast<FileDropTarget*>(target_.get())->Detach();
    target_.reset();
}

}  // namespace korvex::platform
