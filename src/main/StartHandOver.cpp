#include "StartHandOver.h"

namespace korvex {

std::optional<int> HandOverToRunning(platform::SingleInstance& instance, const std::vector<std::wstring>& paths,
                                     ui::Prompter& prompter, std::chrono::milliseconds patience) {
    using Result = platform::SingleInstance::HandOverResult;
    for (;;) {
        switch (instance.HandOver(paths, patience)) {
            case Result::Taken: return 0;
            case Result::NowFirst: return std::nullopt;
            case Result::GaveUp: break;
        }
        // A window that does not answer a mere "come to the front" is not worth a question.
        if (paths.empty()) return 0;
        const std::wstring text =
            L"Korvex уже открыт, но не принимает файлы: в его окне открыт диалог или "
            L"он занят.\r\nЗакройте диалог и нажмите «Yes», чтобы подождать ещё, или «No», "
            L"чтобы не добавлять файлы (" +
            std::to_wstring(paths.size()) + L").";
        if (prompter.Show(nullptr, {L"Korvex", text, ui::MessageIcon::Warning, ui::MessageButtons::YesNo}) !=
            ui::MessageResult::Yes)
            return 1;
    }
}

}  // namespace korvex
