#pragma once
// The IUnknown part of the small COM objects we implement ourselves: one interface, a reference
// count that any thread may change, deleted with its last reference.

#include <objbase.h>

#include <atomic>

namespace korvex::platform {

template <typename Interface>
class ComObject : public Interface {
public:
    virtual ~ComObject() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == __uuidof(Interface)) {
            *out = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

private:
    std::atomic<ULONG> references_{1};
};

}  // namespace korvex::platform
