#pragma once
// Modal message boxes go through this interface, so that tests can answer them in-process.

#include <windows.h>

#include <string>

namespace korvex::ui {

enum class MessageIcon { None, Information, Warning, Error };
enum class MessageButtons { Ok, YesNo };
enum class MessageResult { Ok, Yes, No, Cancel };

struct MessageSpec {
    std::wstring caption;
    std::wstring text;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual MessageResult Show(HWND owner, const MessageSpec& box) = 0;
};

// A modal box of our own whose buttons are ordinary child buttons with English captions ("OK",
// "&Yes", "&No"), whatever the system's language. Closing it by Escape or its close box answers
// Cancel.
MessageResult ShowMessageDialog(HWND owner, const MessageSpec& box);

class DialogPrompter final : public Prompter {
public:
    MessageResult Show(HWND owner, const MessageSpec& box) override { return ShowMessageDialog(owner, box); }
};

}  // namespace korvex::ui
