#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "DeviceContext.h"
#include "Prompter.h"
#include "UniqueResource.h"

namespace korvex::ui {

namespace {

constexpr int kTextId = 100;
constexpr int kIconId = 101;

constexpr int kFirstChoiceId = 1000;

struct ButtonSpec {
    int id;
    const wchar_t* caption;
};

// The buttons, left to right.
std::vector<ButtonSpec> ButtonsOf(const MessageSpec& box) {
    if (box.buttons == MessageButtons::YesNo) return {{IDYES, L"&Yes"}, {IDNO, L"&No"}};
    if (box.buttons == MessageButtons::Choices && !box.choices.empty()) {
        std::vector<ButtonSpec> buttons;
        const std::size_t count = std::min(box.choices.size(), kMaxChoices);
        for (std::size_t i = 0; i < count; ++i)
            buttons.push_back({kFirstChoiceId + static_cast<int>(i), box.choices[i].c_str()});
        return buttons;
    }
    return {{IDOK, L"OK"}};
}

std::size_t DefaultButton(const MessageSpec& box, std::size_t count) {
    return box.buttons == MessageButtons::Choices && box.defaultChoice < count ? box.defaultChoice : 0;
}

// Writes a DLGTEMPLATE with its items into a word buffer; positions are set at WM_INITDIALOG.
class TemplateWriter {
public:
    void Word(std::uint16_t w) { words_.push_back(w); }
    void Dword(std::uint32_t d) {
        Word(static_cast<std::uint16_t>(d & 0xFFFF));
        Word(static_cast<std::uint16_t>(d >> 16));
    }
    void Text(const wchar_t* s) {
        for (; *s; ++s) Word(static_cast<std::uint16_t>(*s));
        Word(0);
    }
    void AlignDword() {
        if (words_.size() % 2) Word(0);
    }
    void Item(DWORD style, int id, std::uint16_t atom, const wchar_t* text) {
        AlignDword();
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        for (int i = 0; i < 4; ++i) Word(0);  // x, y, cx, cy
        Word(static_cast<std::uint16_t>(id));
        Word(0xFFFF);
        Word(atom);
        Text(text);
        Word(0);  // no creation data
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    std::vector<std::uint16_t> words_;
};

struct DialogState {
    const MessageSpec* box;
    std::vector<ButtonSpec> buttons;
};

const wchar_t* IconResource(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information: return IDI_INFORMATION;
        case MessageIcon::Warning: return IDI_WARNING;
        case MessageIcon::Error: return IDI_ERROR;
        default: return nullptr;
    }
}

void Layout(HWND dialog, const DialogState& state) {
    const WindowDC windowDc(dialog);
    const HDC dc = windowDc.get();
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    auto px = [dpi](int v) { return MulDiv(v, dpi, 96); };
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    std::optional<platform::SelectedObject> selectedFont(std::in_place, dc, font);

    const std::wstring& text = state.box->text;
    // As an edit control breaks it: a path longer than a line breaks inside, instead of being cut.
    RECT textRect{0, 0, px(420), 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS);
    // The static control lays its lines out the same way in a box a little wider than measured,
    // so that a line that just fits never touches the dialog's edge.
    textRect.right += px(8);
    int buttonWidth = px(75);
    for (const auto& b : state.buttons) {
        RECT r{};
        DrawTextW(dc, b.caption, -1, &r, DT_CALCRECT | DT_SINGLELINE);
        buttonWidth = std::max<int>(buttonWidth, r.right + px(24));
    }
    selectedFont.reset();

    const int margin = px(12);
    const bool hasIcon = IconResource(state.box->icon) != nullptr;
    const int iconSize = hasIcon ? GetSystemMetrics(SM_CXICON) : 0;
    const int textX = margin + (hasIcon ? iconSize + margin : 0);
    const int textHeight = static_cast<int>(textRect.bottom);
    const int bodyHeight = std::max(iconSize, textHeight);
    const int textY = margin + (bodyHeight - textHeight) / 2;
    const int buttonHeight = px(23);
    const int gap = px(6);
    const int buttonsWidth =
        static_cast<int>(state.buttons.size()) * buttonWidth + static_cast<int>(state.buttons.size() - 1) * gap;
    const int clientWidth = std::max(textX + static_cast<int>(textRect.right) + margin, buttonsWidth + 2 * margin);
    const int buttonsY = margin + bodyHeight + margin;
    const int clientHeight = buttonsY + buttonHeight + margin;

    if (hasIcon) {
        const HWND iconCtl = GetDlgItem(dialog, kIconId);
        SendMessageW(iconCtl, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IconResource(state.box->icon))),
                     0);
        MoveWindow(iconCtl, margin, margin, iconSize, iconSize, FALSE);
    }
    MoveWindow(GetDlgItem(dialog, kTextId), textX, textY, static_cast<int>(textRect.right), textHeight, FALSE);
    int x = (clientWidth - buttonsWidth) / 2;
    for (const auto& b : state.buttons) {
        MoveWindow(GetDlgItem(dialog, b.id), x, buttonsY, buttonWidth, buttonHeight, FALSE);
        x += buttonWidth + gap;
    }

    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT around;
    const HWND owner = GetWindow(dialog, GW_OWNER);
    if (owner && IsWindowVisible(owner)) {
        GetWindowRect(owner, &around);
    } else {
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        GetMonitorInfoW(MonitorFromWindow(owner ? owner : dialog, MONITOR_DEFAULTTOPRIMARY), &mi);
        around = mi.rcWork;
    }
    SetWindowPos(dialog, nullptr, around.left + (around.right - around.left - width) / 2,
                 around.top + (around.bottom - around.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG: {
            const auto* state = reinterpret_cast<const DialogState*>(lParam);
            SetWindowTextW(dialog, state->box->caption.c_str());
            SetDlgItemTextW(dialog, kTextId, state->box->text.c_str());
            Layout(dialog, *state);
            SetFocus(GetDlgItem(dialog, state->buttons[DefaultButton(*state->box, state->buttons.size())].id));
            return FALSE;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                case IDYES:
                case IDNO:
                case IDCANCEL: EndDialog(dialog, LOWORD(wParam)); return TRUE;
                default:
                    if (LOWORD(wParam) >= kFirstChoiceId && LOWORD(wParam) < kFirstChoiceId + kMaxChoices) {
                        EndDialog(dialog, LOWORD(wParam));
                        return TRUE;
                    }
                    break;
            }
            break;
        default: break;
    }
    return FALSE;
}

}  // namespace

MessageResult ShowMessageDialog(HWND owner, const MessageSpec& box) {
    DialogState state{&box, ButtonsOf(box)};
    const std::size_t defaultButton = DefaultButton(box, state.buttons.size());
    TemplateWriter t;
    const DWORD style = DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    t.Dword(style);
    t.Dword(0);
    const bool hasIcon = box.icon != MessageIcon::None;
    t.Word(static_cast<std::uint16_t>(1 + (hasIcon ? 1 : 0) + state.buttons.size()));
    for (int i = 0; i < 4; ++i) t.Word(0);  // x, y, cx, cy
    t.Word(0);                              // no menu
    t.Word(0);                              // the dialog class
    t.Text(L"");                            // caption, set at WM_INITDIALOG
    t.Word(8);
    t.Text(L"MS Shell Dlg");
    if (hasIcon) t.Item(SS_ICON, kIconId, 0x0082, L"");
    t.Item(SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, kTextId, 0x0082, L"");
    for (std::size_t i = 0; i < state.buttons.size(); ++i) {
        t.Item((i == defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP | (i == 0 ? WS_GROUP : 0),
               state.buttons[i].id, 0x0080, state.buttons[i].caption);
    }
    switch (box.icon) {
        case MessageIcon::Warning: MessageBeep(MB_ICONWARNING); break;
        case MessageIcon::Error: MessageBeep(MB_ICONERROR); break;
        default: break;
    }
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.Get(), owner, &DialogProc,
                                                   reinterpret_cast<LPARAM>(&state));
    switch (result) {
        case IDOK: return MessageResult::Ok;
        case IDYES: return MessageResult::Yes;
        case IDNO: return MessageResult::No;
        default:
            if (result >= kFirstChoiceId && result < kFirstChoiceId + static_cast<INT_PTR>(kMaxChoices))
                return ChoiceResult(static_cast<std::size_t>(result - kFirstChoiceId));
            return MessageResult::Cancel;
    }
}

}  // namespace korvex::ui
