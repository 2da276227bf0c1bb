#pragma once
// Modal message boxes go through this interface, so that tests can answer them in-process.

#include <windows.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace korvex::ui {

enum class MessageIcon { None, Information, Warning, Error };
// Choices: the buttons named in MessageSpec::choices, in that order.
enum class MessageButtons { Ok, YesNo, Choices };
// ChoiceN answers the Nth of MessageSpec::choices; Escape or the close box answers Cancel.
enum class MessageResult { Ok, Yes, No, Cancel, Choice1, Choice2, Choice3 };

inline constexpr std::size_t kMaxChoices = 3;
inline MessageResult Choice(std::size_t index) {
    return static_cast<MessageResult>(static_cast<int>(MessageResult::Choice1) + static_cast<int>(index));
}

struct MessageSpec {
    MessageSpec(std::wstring boxCaption = {}, std::wstring boxText = {}, MessageIcon boxIcon = MessageIcon::None,
                MessageButtons boxButtons = MessageButtons::Ok, std::vector<std::wstring> boxChoices = {},
                std::size_t boxDefault = 0)
        : caption(std::move(boxCaption)),
          text(std::move(boxText)),
          icon(boxIcon),
          buttons(boxButtons),
          choices(std::move(boxChoices)),
          defaultChoice(boxDefault) {}

    std::wstring caption;
    std::wstring text;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    std::vector<std::wstring> choices;  // with MessageButtons::Choices: one to kMaxChoices captions
    std::size_t defaultChoice = 0;      // the button Enter presses
};

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual MessageResult Show(HWND owner, const MessageSpec& box) = 0;
};

// A modal box of our own whose buttons are ordinary child buttons with English captions ("OK",
// "&Yes", "&No"), whatever the system's language, or the captions given as choices. Closing it by
// Escape or its close box answers Cancel.
MessageResult ShowMessageDialog(HWND owner, const MessageSpec& box);

class DialogPrompter final : public Prompter {
public:
    MessageResult Show(HWND owner, const MessageSpec& box) override { return ShowMessageDialog(owner, box); }
};

}  // namespace korvex::ui
