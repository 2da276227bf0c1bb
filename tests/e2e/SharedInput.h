#pragma once
// Driving the program's window with keys as a user would: keys posted to one of its windows, and
// the keyboard state shared with its window thread for a while.

#include <windows.h>

#include <initializer_list>

namespace korvex::test {

inline void PressKey(HWND w, WORD key) {
    PostMessageW(w, WM_KEYDOWN, key, 1);
    PostMessageW(w, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
}

// The keys held here are the keys the program's window thread sees held, and focus can be given to
// its windows, while this lives.
class SharedInput {
public:
    explicit SharedInput(HWND window)
        : mine_(GetCurrentThreadId()), theirs_(GetWindowThreadProcessId(window, nullptr)) {
        attached_ = AttachThreadInput(mine_, theirs_, TRUE) != FALSE;
    }
    ~SharedInput() {
        Hold({});
        if (attached_) AttachThreadInput(mine_, theirs_, FALSE);
    }
    SharedInput(const SharedInput&) = delete;
    SharedInput& operator=(const SharedInput&) = delete;
    bool Attached() const { return attached_; }
    void Hold(std::initializer_list<BYTE> keys) {
        BYTE state[256] = {};
        for (BYTE k : keys) state[k] = 0x80;
        SetKeyboardState(state);
    }

private:
    DWORD mine_, theirs_;
    bool attached_ = false;
};

}  // namespace korvex::test
