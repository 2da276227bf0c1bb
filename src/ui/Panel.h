#pragma once
// A docking container with an optional etched bevel and a caption.

#include "Window.h"

namespace korvex::ui {

class Panel : public Container {
public:
    enum class CaptionAlign { Left, Center, Right };
    struct Options {
        bool bevel = true;
        CaptionAlign captionAlign = CaptionAlign::Center;
    };

    void Create(HWND parent, SIZE size, Options options, const wchar_t* caption = L"");
    void SetCaption(const std::wstring& caption);
    CaptionAlign GetCaptionAlign() const noexcept { return options_.captionAlign; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    RECT DockArea() const override;

private:
    void OnPaint(HDC dc) override;
    Options options_;
};

}  // namespace korvex::ui
