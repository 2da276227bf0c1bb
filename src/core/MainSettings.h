#pragma once
// The [Main] section of the settings file as data: what the window keeps between runs, and the
// one description of its ten keys (name, kind, order) that loading and saving both walk.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace korvex {

inline constexpr std::wstring_view kMainSection = L"Main";
inline constexpr std::wstring_view kPathKey = L"Path";  // the folder the explorer shows

// The values of the keys; a window state is 0 normal, 1 minimized, 2 maximized.
struct MainSettings {
    std::wstring subject;
    std::wstring path;
    std::int32_t viewStyle = 0;
    bool edit = false;
    std::wstring box;
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    std::int32_t windowState = 0;
    bool operator==(const MainSettings&) const = default;
};

// One key: its name and the field it holds, whose type is the key's kind (text, whole number,
// flag).
struct MainSettingKey {
    std::wstring_view name;
    std::variant<std::wstring MainSettings::*, std::int32_t MainSettings::*, bool MainSettings::*> field;
};

// The keys in the order the file gets them.
inline const std::array<MainSettingKey, 10> kMainSettingKeys{{
    {L"Subject", &MainSettings::subject},
    {kPathKey, &MainSettings::path},
    {L"ViewStyle", &MainSettings::viewStyle},
    {L"Edit", &MainSettings::edit},
    {L"Box", &MainSettings::box},
    {L"Left", &MainSettings::left},
    {L"Top", &MainSettings::top},
    {L"Width", &MainSettings::width},
    {L"Height", &MainSettings::height},
    {L"WindowState", &MainSettings::windowState},
}};

// The names of the keys, in their order.
std::vector<std::wstring> MainSettingNames();

// The settings read through read (a key's stored text, or none): each key that is missing, or
// holds no number where a number belongs, keeps its value in current.
using SettingReader = std::function<std::optional<std::wstring>(std::wstring_view key)>;
MainSettings ReadMainSettings(const SettingReader& read, MainSettings current);

// The texts the file gets, one per key, in the keys' order.
std::vector<std::pair<std::wstring_view, std::wstring>> MainSettingTexts(const MainSettings& settings);

}  // namespace korvex
