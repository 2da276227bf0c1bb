#pragma once
// Modal message boxes go through this interface, so that tests can answer them in-process.

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace korvex::ui {

enum class MessageIcon { None, Information, Warning, Error };
// Choices: the buttons are the captions of MessageSpec::choices, left to right.
enum class MessageButtons { Ok, YesNo, Choices };
// Choice1... answer the first, second... of MessageSpec::choices.
enum class MessageResult { Ok, Yes, No, Cancel, Choice1, Choice2, Choice3, Choice4 };

inline constexpr std::size_t kMaxChoices = 4;

struct MessageSpec {
    std::wstring caption;
    std::wstring text;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    std::vector<std::wstring> choices;  // with MessageButtons::Choices, at most kMaxChoices
    std::size_t defaultChoice = 0;      // the choice Enter answers
};

// The answer of the choice at index.
inline MessageResult ChoiceResult(std::size_t index) {
    return static_cast<MessageResult>(static_cast<std::size_t>(MessageResult::Choice1) + index);
}

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual MessageResult Show(HWND owner, const MessageSpec& box) = 0;
};

// A modal box of our own whose buttons are ordinary child buttons with English captions ("OK",
// "&Yes", "&No"), whatever the system's language, or the given choices. Closing it by Escape or its
// close box answers Cancel.
MessageResult ShowMessageDialog(HWND owner, const MessageSpec& box);

class DialogPrompter final : public Prompter {
public:
    MessageResult Show(HWND owner, const MessageSpec& box) override { return ShowMessageDialog(owner, box); }
};

}  // namespace korvex::ui
