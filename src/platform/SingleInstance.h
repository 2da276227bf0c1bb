#pragma once
// One running window per copy of the program. Copies are told apart by the full path of their
// executable, case folded: a copy in another folder is another program with other settings.
// The first start holds a named mutex for its whole life and listens with a message-only window
// (under Wine now and then a hidden top-level one); a later start finds that window and hands its
// paths over in a WM_COPYDATA message.

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "CommandLinePaths.h"
#include "UniqueResource.h"

namespace korvex::platform {

class SingleInstance {
public:
    // Claims the instance of the executable at exePath, or finds that another process holds it.
    explicit SingleInstance(std::wstring_view exePath);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Whether this process is the running one (it claimed the instance, now or in HandOver).
    bool First() const noexcept { return first_; }

    // What the running window answers to an offer of paths: taken, or not now (it is busy, a
    // modal box is open). Called on the thread that called Listen; it must not throw.
    using Taker = std::function<bool(std::vector<std::wstring> paths)>;
    // Starts listening for later starts (only the first does). The window is made on this thread.
    void Listen(Taker taker);
    // No more offers reach the taker (before what it refers to goes).
    void StopListening() noexcept;

    enum class HandOverResult {
        Taken,     // the running window has the paths: this start ends
        NowFirst,  // the running one ended meanwhile: this start is the first now and goes on
        GaveUp,    // the running window did not take them within the patience
    };
    // Offers full paths to the running window until it takes them, the running process ends,
    // or patience runs out. The running window is allowed to come to the front.
    HandOverResult HandOver(const std::vector<std::wstring>& paths, std::chrono::milliseconds patience);

    // The name of the mutex and of the listening window's class for an executable path.
    static std::wstring NameFor(std::wstring_view exePath);
    // The listening window of the instance with that name: a message-only window, or a hidden
    // top-level one where the system could not make it message-only; null when none listens.
    static HWND FindListener(const std::wstring& name) noexcept;

    // Answers of the listening window to WM_COPYDATA.
    static constexpr LRESULT kTaken = 1, kNotNow = 2, kRefused = 0;
    static constexpr ULONG_PTR kPathsMagic = 0x4B565850;  // "KVXP": a block of paths
    // A block longer than any start can send is refused by its size, unread.
    static constexpr DWORD kMaxBlockBytes = static_cast<DWORD>(kMaxBlockLength * sizeof(wchar_t));

private:
    static LRESULT CALLBACK ListenerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnCopyData(const COPYDATASTRUCT* data) const noexcept;

    std::wstring name_;
    UniqueHandle mutex_;
    bool first_ = false;
    Taker taker_;
    HWND listener_ = nullptr;  // destroyed with this object
    ATOM class_ = 0;
};

}  // namespace korvex::platform
