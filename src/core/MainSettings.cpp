#include "MainSettings.h"

#include "IniValue.h"

namespace korvex {

namespace {
template <typename... Visitors>
struct Overloaded : Visitors... {
    using Visitors::operator()...;
};
template <typename... Visitors>
Overloaded(Visitors...) -> Overloaded<Visitors...>;
}  // namespace

std::vector<std::wstring> MainSettingNames() {
    std::vector<std::wstring> names;
    for (const MainSettingKey& key : kMainSettingKeys) names.emplace_back(key.name);
    return names;
}

MainSettings ReadMainSettings(const SettingReader& read, MainSettings current) {
    for (const MainSettingKey& key : kMainSettingKeys) {
        const std::optional<std::wstring> text = read(key.name);
        if (!text) continue;
        std::visit(Overloaded{
                       [&](std::wstring MainSettings::*field) { current.*field = *text; },
                       [&](std::int32_t MainSettings::*field) { current.*field = IniIntegerOr(*text, current.*field); },
                       [&](bool MainSettings::*field) { current.*field = IniFlagOr(*text, current.*field); },
                   },
                   key.field);
    }
    return current;
}

std::vector<std::pair<std::wstring_view, std::wstring>> MainSettingTexts(const MainSettings& settings) {
    std::vector<std::pair<std::wstring_view, std::wstring>> texts;
    for (const MainSettingKey& key : kMainSettingKeys) {
        std::visit(Overloaded{
                       [&](std::wstring MainSettings::*field) { texts.emplace_back(key.name, settings.*field); },
                       [&](std::int32_t MainSettings::*field) {
                           texts.emplace_back(key.name, std::to_wstring(settings.*field));
                       },
                       [&](bool MainSettings::*field) { texts.emplace_back(key.name, IniFlagText(settings.*field)); },
                   },
                   key.field);
    }
    return texts;
}

}  // namespace korvex
