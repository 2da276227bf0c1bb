#include "NotAdded.h"

namespace korvex {

namespace {

void AppendList(std::wstring& text, std::wstring_view one, std::wstring_view many,
                const std::vector<std::wstring>& paths, std::size_t shown) {
    if (paths.empty()) return;
    if (!text.empty()) text += L"\r\n\r\n";
    text += paths.size() == 1 ? one : many;
    for (std::size_t i = 0; i < paths.size() && i < shown; ++i) text += L"\r\n" + paths[i];
    if (paths.size() > shown) text += L"\r\n\u2026 и ещё " + std::to_wstring(paths.size() - shown);
}

}  // namespace

std::wstring NotAddedText(const NotAdded& notAdded, std::size_t shown) {
    std::wstring text;
    AppendList(text, L"Не найден:", L"Не найдены:", notAdded.missing, shown);
    AppendList(text, L"Не добавлен (это имя устройства, а не файл):",
               L"Не добавлены (это имена устройств, а не файлы):", notAdded.devices, shown);
    return text;
}

}  // namespace korvex
