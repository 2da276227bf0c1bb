#pragma once
// The message loop of a long piece of work that runs on the window's own thread (a walk of a
// folder tree, a send): the window keeps painting while it takes no input.

#include <windows.h>

#include <vector>

namespace korvex::ui {

class ModalPump {
public:
    enum class Dispatch {
        PaintOnly,  // only painting runs; every other message waits in the queue for the loop after
        All,        // everything but input runs; a drop and a close wait until the pump ends
    };
    // closeOwner, when given, is a window that answers a close of its own while the work runs (it
    // asks, or stops the work and closes once it has unwound): a close posted to it is handled at
    // once instead of waiting for the work's end.
    explicit ModalPump(Dispatch dispatch, HWND closeOwner = nullptr) : dispatch_(dispatch), closeOwner_(closeOwner) {}
    // Posts again what was held back, so the loop after the work handles it.
    ~ModalPump();
    ModalPump(const ModalPump&) = delete;
    ModalPump& operator=(const ModalPump&) = delete;

    // Takes every keyboard and mouse message out of the queue unhandled, so nothing can be clicked
    // or typed into while the work runs, and lets the windows paint. True once Esc has been pressed.
    // Alt+F4 is not lost: it becomes the close it asks for (SC_CLOSE posted to its top-level window),
    // which waits or is handled as any other close.
    bool Pump();
    bool EscapePressed() const noexcept { return escape_; }

    // Keyboard and mouse input, client and non-client, hover and leave included.
    static bool IsInput(UINT message) noexcept;
    // A request to close a window: WM_CLOSE, or the system command that sends it.
    static bool IsClose(const MSG& msg) noexcept;
    // What waits until the work is over: the work must not be reentered or its window destroyed;
    // only closeOwner's own close goes through.
    bool IsDeferred(const MSG& msg) const noexcept;

private:
    void Swallow(const MSG& msg) noexcept;

    Dispatch dispatch_;
    HWND closeOwner_;
    std::vector<MSG> deferred_;
    bool escape_ = false;
};

}  // namespace korvex::ui
