#include "Win32Error.h"

#include <memory>

#include "MessageInserts.h"

namespace korvex::platform {

std::wstring SystemMessage(DWORD code, std::wstring_view insert) {
    // The system is never asked to fill the inserts: it would read as many arguments as the text
    // names, and the texts differ between languages and versions.
    wchar_t* buffer = nullptr;
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::unique_ptr<wchar_t, decltype(&LocalFree)> owner(buffer, &LocalFree);
    std::wstring text = n ? FillInserts(std::wstring_view(buffer, n), insert) : L"Error " + std::to_wstring(code);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text;
}

namespace {
std::wstring Compose(DWORD code, std::wstring_view context) {
    std::wstring text(context);
    if (!text.empty()) text += L": ";
    return text + SystemMessage(code);
}
}  // namespace

Win32Error::Win32Error(DWORD code, std::wstring_view context) : AppError(Compose(code, context)), code_(code) {}

}  // namespace korvex::platform
