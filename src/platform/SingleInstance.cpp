#include "SingleInstance.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <utility>

#include "CommandLinePaths.h"
#include "Locale.h"

namespace korvex::platform {

namespace {

constexpr DWORD kAnswerTimeout = 2000;  // ms one offer may take before it counts as not taken
constexpr DWORD kRetryInterval = 100;   // ms between offers

}  // namespace

std::wstring SingleInstance::NameFor(std::wstring_view exePath) {
    // A hash keeps the name short whatever the path's length (names end at MAX_PATH characters)
    // and free of backslashes, which would make it a namespace path. FNV-1a, 64 bits.
    std::uint64_t hash = 1469598103934665603ull;
    for (const wchar_t c : FoldCase(exePath)) {
        hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
    }
    wchar_t text[17] = {};
    swprintf(text, 17, L"%016llx", static_cast<unsigned long long>(hash));
    return L"Korvex.Instance." + std::wstring(text);
}

SingleInstance::SingleInstance(std::wstring_view exePath) : name_(NameFor(exePath)) {
    // Held, not only opened: when the first process ends, however it ends, the mutex is
    // abandoned, and a start that waits for it learns so at once.
    mutex_.reset(CreateMutexW(nullptr, TRUE, (L"Local\\" + name_).c_str()));
    // Without a mutex there is no telling: this start runs as a program of its own.
    first_ = !mutex_ || GetLastError() != ERROR_ALREADY_EXISTS;
}

SingleInstance::~SingleInstance() {
    StopListening();
    if (first_ && mutex_) ReleaseMutex(mutex_.get());
}

void SingleInstance::StopListening() noexcept {
    if (listener_) DestroyWindow(std::exchange(listener_, nullptr));
    if (class_) UnregisterClassW(name_.c_str(), GetModuleHandleW(nullptr));
    class_ = 0;
    taker_ = nullptr;
}

void SingleInstance::Listen(Taker taker) {
    if (!first_ || listener_) return;
    taker_ = std::move(taker);
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = &ListenerProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = name_.c_str();
    class_ = RegisterClassExW(&cls);
    if (!class_) return;
    listener_ = CreateWindowExW(0, name_.c_str(), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance, nullptr);
    if (listener_) SetWindowLongPtrW(listener_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

LRESULT CALLBACK SingleInstance::ListenerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COPYDATA) {
        const auto* self = reinterpret_cast<const SingleInstance*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        return self ? self->OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam)) : kNotNow;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT SingleInstance::OnCopyData(const COPYDATASTRUCT* data) const noexcept {
    // Anyone on the desktop can send this message: its size and form are checked before anything
    // of it is used.
    if (!data || data->dwData != kPathsMagic || data->cbData % sizeof(wchar_t) != 0 || data->cbData == 0 ||
        data->cbData > kMaxBlockBytes || !data->lpData)
        return kRefused;
    try {
        const std::wstring_view block(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
        std::optional<std::vector<std::wstring>> paths = SplitPathBlock(block);
        if (!paths) return kRefused;
        return taker_ && taker_(std::move(*paths)) ? kTaken : kNotNow;
    } catch (...) {
        return kNotNow;  // out of memory, say: the sender tries again
    }
}

HWND SingleInstance::FindListener(const std::wstring& name) noexcept {
    if (const HWND listener = FindWindowExW(HWND_MESSAGE, nullptr, name.c_str(), nullptr)) return listener;
    // Wine makes a window asked for as message-only a hidden top-level one when the process has not
    // got its message-only parent (seen for a process started while Wine's desktop was starting or
    // on a loaded machine); a start that looked only among message-only windows never found it.
    return FindWindowW(name.c_str(), nullptr);
}

SingleInstance::HandOverResult SingleInstance::HandOver(const std::vector<std::wstring>& paths,
                                                        std::chrono::milliseconds patience) {
    if (first_) return HandOverResult::NowFirst;
    const std::wstring block = JoinPathBlock(paths);
    COPYDATASTRUCT data{kPathsMagic, static_cast<DWORD>(block.size() * sizeof(wchar_t)),
                        const_cast<wchar_t*>(block.data())};
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(patience.count());
    for (;;) {
        if (const HWND listener = FindListener(name_)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(listener, &pid);
            AllowSetForegroundWindow(pid);
            DWORD_PTR answer = 0;
            if (SendMessageTimeoutW(listener, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                    SMTO_NORMAL | SMTO_ABORTIFHUNG, kAnswerTimeout, &answer) &&
                answer == static_cast<DWORD_PTR>(kTaken))
                return HandOverResult::Taken;
        }
        // Waiting on the mutex is the pause between offers; it comes back at once when the
        // running process ends, and then this process holds it.
        const DWORD wait = mutex_ ? WaitForSingleObject(mutex_.get(), kRetryInterval) : WAIT_FAILED;
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
            first_ = true;
            return HandOverResult::NowFirst;
        }
        if (wait == WAIT_FAILED) Sleep(kRetryInterval);
        if (GetTickCount64() >= deadline) return HandOverResult::GaveUp;
    }
}

}  // namespace korvex::platform
