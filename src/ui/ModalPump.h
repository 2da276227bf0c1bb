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
    explicit ModalPump(Dispatch dispatch) : dispatch_(dispatch) {}
    // Posts again what was held back, so the loop after the work handles it.
    ~ModalPump();
    ModalPump(const ModalPump&) = delete;
    ModalPump& operator=(const ModalPump&) = delete;

    // Takes every keyboard and mouse message out of the queue unhandled, so nothing can be clicked
    // or typed into while the work runs, and lets the windows paint. True once Esc has been pressed.
    bool Pump();
    bool EscapePressed() const noexcept { return escape_; }

    // Keyboard and mouse input, client and non-client, hover and leave included.
    static bool IsInput(UINT message) noexcept;
    // What waits until the work is over: the work must not be reentered or its window destroyed.
    static bool IsDeferred(UINT message) noexcept { return message == WM_DROPFILES || message == WM_CLOSE; }

private:
    void Swallow(const MSG& msg) noexcept;

    Dispatch dispatch_;
    std::vector<MSG> deferred_;
    bool escape_ = false;
};

}  // namespace korvex::ui
