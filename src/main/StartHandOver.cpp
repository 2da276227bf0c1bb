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
        const std::wstring text = L"Korvex уже открыт, но не принимает файлы (" + std::to_wstring(paths.size()) +
                                  L"): в его окне открыт диалог, или он занят.\r\nЗакройте диалог и подождите, "
                                  L"или откажитесь — тогда файлы не будут добавлены.";
        ui::MessageSpec question{L"Korvex", text, ui::MessageIcon::Warning, ui::MessageButtons::Choices};
        question.choices = {L"Подождать ещё", L"Не добавлять"};
        if (prompter.Show(nullptr, question) != ui::ChoiceResult(0)) return 1;
    }
}

}  // namespace korvex
