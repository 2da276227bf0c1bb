#pragma once
// Owners of Win32 handles: one template, one traits struct per kind of handle; a scope guard and
// the owners of what is not a handle (a GDI object selected into a device context, memory from
// the COM allocator).

#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>
#include <objbase.h>

#include <type_traits>
#include <utility>

namespace korvex::platform {

template <typename Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() noexcept = default;
    explicit UniqueResource(Type value) noexcept : value_(value) {}
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { reset(); }

    Type get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::Invalid(); }

    // Gives up ownership without closing.
    [[nodiscard]] Type release() noexcept { return std::exchange(value_, Traits::Invalid()); }

    void reset(Type value = Traits::Invalid()) noexcept {
        const Type old = std::exchange(value_, value);
        if (old != Traits::Invalid()) Traits::Close(old);
    }

private:
    Type value_ = Traits::Invalid();
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};
struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};
struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::FindClose(h); }
};
struct ChangeNotificationTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::FindCloseChangeNotification(h); }
};
struct RegKeyTraits {
    using Type = HKEY;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::RegCloseKey(h); }
};
struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DeleteObject(h); }
};
struct MenuTraits {
    using Type = HMENU;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyMenu(h); }
};
struct IconTraits {
    using Type = HICON;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyIcon(h); }
};
struct DropTraits {
    using Type = HDROP;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DragFinish(h); }
};

struct WindowTraits {
    using Type = HWND;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyWindow(h); }
};
struct ImageListTraits {
    using Type = HIMAGELIST;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::ImageList_Destroy(h); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueFile = UniqueResource<FileHandleTraits>;
using UniqueFind = UniqueResource<FindHandleTraits>;
using UniqueChangeNotification = UniqueResource<ChangeNotificationTraits>;
using UniqueKey = UniqueResource<RegKeyTraits>;
using UniqueGdiObject = UniqueResource<GdiObjectTraits>;
using UniqueMenu = UniqueResource<MenuTraits>;
using UniqueIcon = UniqueResource<IconTraits>;
using UniqueDrop = UniqueResource<DropTraits>;
using UniqueImageList = UniqueResource<ImageListTraits>;
using UniqueWindow = UniqueResource<WindowTraits>;

// Runs a function when the scope ends, on every way out of it (a return, an exception).
template <typename Function>
class [[nodiscard]] ScopeExit {
public:
    explicit ScopeExit(Function function) noexcept(std::is_nothrow_move_constructible_v<Function>)
        : function_(std::move(function)) {}
    ~ScopeExit() { function_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Function function_;
};

// A GDI object selected into a device context for the owner's lifetime; the one it replaced goes
// back in at the end.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Memory handed out by the COM allocator (CoTaskMemAlloc), freed with CoTaskMemFree.
template <typename T>
class UniqueCoTaskMem {
public:
    UniqueCoTaskMem() noexcept = default;
    explicit UniqueCoTaskMem(T* p) noexcept : p_(p) {}
    UniqueCoTaskMem(UniqueCoTaskMem&& other) noexcept : p_(other.release()) {}
    UniqueCoTaskMem& operator=(UniqueCoTaskMem&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueCoTaskMem(const UniqueCoTaskMem&) = delete;
    UniqueCoTaskMem& operator=(const UniqueCoTaskMem&) = delete;
    ~UniqueCoTaskMem() { reset(); }

    T* get() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    // For an out-parameter: frees what is held first.
    T** put() noexcept {
        reset();
        return &p_;
    }
    [[nodiscard]] T* release() noexcept { return std::exchange(p_, nullptr); }
    void reset(T* p = nullptr) noexcept {
        if (T* old = std::exchange(p_, p)) ::CoTaskMemFree(old);
    }

private:
    T* p_ = nullptr;
};

}  // namespace korvex::platform
