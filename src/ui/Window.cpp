#include "Window.h"

#include "AppError.h"
#include "Win32Error.h"

namespace korvex::ui {

namespace {
std::function<void(const std::wstring&)>& Reporter() {
    static std::function<void(const std::wstring&)> reporter;
    return reporter;
}

std::wstring Widen(const char* text) {
    std::wstring out;
    for (; *text; ++text) out += static_cast<wchar_t>(static_cast<unsigned char>(*text));
    return out;
}
}  // namespace

void SetErrorReporter(std::function<void(const std::wstring&)> reporter) {
    Reporter() = std::move(reporter);
}

void ReportError(const std::wstring& message) {
    if (Reporter()) {
        Reporter()(message);
    } else {
        MessageBoxW(nullptr, message.c_str(), L"Korvex", MB_OK | MB_ICONERROR);
    }
}

Window::~Window() {
    if (hwnd_ && IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    hwnd_ = nullptr;
}

void Window::CreateWin(const ClassInfo& cls, const wchar_t* text, DWORD style, DWORD exStyle, HWND parent, RECT bounds,
                       int id) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    if (!GetClassInfoExW(instance, cls.name, &wc)) {
        wc.cbSize = sizeof wc;
        wc.style = cls.style;
        wc.lpfnWndProc = &Window::Procedure;
        wc.hInstance = instance;
        wc.hCursor = cls.cursor ? LoadCursorW(nullptr, cls.cursor) : nullptr;
        wc.hbrBackground = cls.background;
        wc.lpszClassName = cls.name;
        wc.hIcon = cls.icon;
        wc.hIconSm = cls.smallIcon;
        if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            throw platform::Win32Error(GetLastError(), L"RegisterClassExW");
    }
    HMENU menuOrId = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr;
    // CW_USEDEFAULT in right leaves the size, as in left the position, to the system.
    const int width = bounds.right == CW_USEDEFAULT ? CW_USEDEFAULT : bounds.right - bounds.left;
    const int height = bounds.right == CW_USEDEFAULT ? 0 : bounds.bottom - bounds.top;
    if (!CreateWindowExW(exStyle, cls.name, text, style, bounds.left, bounds.top, width, height, parent, menuOrId,
                         instance, this)) {
        const DWORD error = GetLastError();
        hwnd_ = nullptr;  // a window that took its handle at WM_NCCREATE and then failed is gone
        throw platform::Win32Error(error, L"CreateWindowExW");
    }
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    // No exception may cross into the system's code: it ends this handler and reaches the
    // general error box; the program goes on.
    try {
        // Notifications go back to the control that sent them when it handles its own.
        if (msg == WM_NOTIFY || (msg == WM_COMMAND && lParam)) {
            const HWND from =
                msg == WM_NOTIFY ? reinterpret_cast<NMHDR*>(lParam)->hwndFrom : reinterpret_cast<HWND>(lParam);
            LRESULT reflected = 0;
            if (Control* control = Control::FromHandle(from);
                control && control->Reflect(msg, wParam, lParam, reflected))
                return reflected;
        }
        const LRESULT result = self->HandleMessage(msg, wParam, lParam);
        if (msg == WM_NCDESTROY) self->hwnd_ = nullptr;
        return result;
    } catch (const AppError& e) {
        ReportError(e.Message());
    } catch (const std::exception& e) {
        ReportError(Widen(e.what()));
    } catch (...) {
        ReportError(L"Unexpected error");
    }
    return 0;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            const HDC dc = BeginPaint(hwnd_, &ps);
            OnPaint(dc);
            EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam)) InvalidateRect(hwnd_, nullptr, TRUE);
            return 0;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
        default: return Default(msg, wParam, lParam);
    }
}

RECT Container::DockArea() const {
    RECT r;
    GetClientRect(hwnd_, &r);
    return r;
}

void Container::ScaleForDpi(int oldDpi, int newDpi) {
    Window::ScaleForDpi(oldDpi, newDpi);
    ScaleChildrenForDpi(oldDpi, newDpi);
}

void Container::ScaleChildrenForDpi(int oldDpi, int newDpi) {
    for (Control* child : children_) child->ScaleForDpi(oldDpi, newDpi);
}

void Container::Realign() {
    if (!hwnd_) return;
    DockControls(children_, DockArea());
    laidOut_ = true;
}

LRESULT Container::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED) Realign();
            return 0;
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
            if (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD) return SendMessageW(GetParent(hwnd_), msg, wParam, lParam);
            break;
        default: break;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

}  // namespace korvex::ui
