#pragma once
// Owners for COM interface pointers and shell item ID lists.

#include <objbase.h>
#include <shlobj.h>

#include <utility>

namespace korvex::platform {

// Holds one reference to a COM object and releases it at the end.
template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    // Takes over a reference the caller already holds.
    explicit ComPtr(T* adopted) noexcept : p_(adopted) {}
    ComPtr(const ComPtr& other) noexcept : p_(other.p_) {
        if (p_) p_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }

    // For the out parameter of a call that hands back a new reference; releases the old one.
    T** put() noexcept {
        reset();
        return &p_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

    void reset() noexcept {
        if (T* old = std::exchange(p_, nullptr)) old->Release();
    }
    [[nodiscard]] T* release() noexcept { return std::exchange(p_, nullptr); }

    // QueryInterface for another interface of the same object; empty when it has none.
    template <typename U>
    ComPtr<U> As() const noexcept {
        ComPtr<U> other;
        if (p_) p_->QueryInterface(__uuidof(U), other.put_void());
        return other;
    }

private:
    T* p_ = nullptr;
};

// A shell item ID list from the shell's allocator, freed at the end.
class ItemIdList {
public:
    ItemIdList() noexcept = default;
    explicit ItemIdList(LPITEMIDLIST adopted) noexcept : p_(adopted) {}
    ItemIdList(ItemIdList&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ItemIdList& operator=(ItemIdList&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ItemIdList(const ItemIdList&) = delete;
    ItemIdList& operator=(const ItemIdList&) = delete;
    ~ItemIdList() { reset(); }

    LPITEMIDLIST get() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    LPITEMIDLIST* put() noexcept {
        reset();
        return &p_;
    }
    void reset() noexcept {
        if (LPITEMIDLIST old = std::exchange(p_, nullptr)) CoTaskMemFree(old);
    }

private:
    LPITEMIDLIST p_ = nullptr;
};

}  // namespace korvex::platform
