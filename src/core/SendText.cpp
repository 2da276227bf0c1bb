#include "SendText.h"

#include <algorithm>

namespace korvex {

std::wstring QuotedPath(std::wstring_view path) {
    return L"\u00AB" + ShortenMiddle(path, kShownPathLength) + L"\u00BB";
}

std::wstring ClientPathMessage(ClientPathProblem problem, std::wstring_view path) {
    switch (problem) {
        case ClientPathProblem::Empty:
            return L"Путь к почтовому клиенту пуст (значение \"EXE path\" в реестре).\r\nНичего не отправлено.";
        case ClientPathProblem::TooLong:
            return L"Путь к почтовому клиенту слишком длинный: " + std::to_wstring(path.size()) +
                   L" символов, а Windows запускает программы с путём не длиннее " +
                   std::to_wstring(kMaxClientPathLength) + L".\r\n" + QuotedPath(path) + L"\r\nНичего не отправлено.";
        case ClientPathProblem::Folder:
            return L"Путь к почтовому клиенту указывает на папку, а не на программу:\r\n" + QuotedPath(path) +
                   L"\r\nНичего не отправлено.";
        default: return L"Почтовый клиент не найден:\r\n" + QuotedPath(path) + L"\r\nНичего не отправлено.";
    }
}

std::wstring SendSummary(const DispatchOutcome& outcome, std::wstring_view clientPath, std::wstring_view firstErrorText,
                         const std::vector<std::wstring>& gonePaths) {
    std::wstring summary;
    if (outcome.stopped) {
        const std::size_t started = outcome.attempted - outcome.failed - outcome.gone.size();
        summary = L"Отправка остановлена: запущено " + std::to_wstring(started) + L" из " +
                  std::to_wstring(outcome.total) + L", не запущено " + std::to_wstring(outcome.total - started) + L".";
    }
    if (outcome.failed > 0) {
        if (!summary.empty()) summary += L"\r\n";
        summary += L"Почтовый клиент не удалось запустить для " + std::to_wstring(outcome.failed) + L" из " +
                   std::to_wstring(outcome.attempted) + L" файлов.\r\n" + std::wstring(clientPath) + L":\r\n" +
                   std::wstring(firstErrorText);
    }
    if (!outcome.gone.empty()) {
        if (!summary.empty()) summary += L"\r\n";
        summary += L"Файлы исчезли до своего запуска и почтовому клиенту не переданы (" +
                   std::to_wstring(outcome.gone.size()) + L"):";
        const std::size_t named = std::min(gonePaths.size(), kMaxNamedMissingFiles);
        for (std::size_t k = 0; k < named; ++k) summary += L"\r\n" + ShortenMiddle(gonePaths[k], kShownPathLength);
        if (outcome.gone.size() > named) summary += L"\r\n… и ещё " + std::to_wstring(outcome.gone.size() - named);
    }
    if (outcome.unconfirmed > 0) {
        if (!summary.empty()) summary += L"\r\n";
        summary += L"Почтовый клиент не ответил на " + std::to_wstring(outcome.unconfirmed) + L" из " +
                   std::to_wstring(outcome.attempted) +
                   L" запусков: проверьте, дошли ли эти файлы (журнал \u2014 \u00ABбез ответа\u00BB).";
    }
    return summary;
}

}  // namespace korvex
