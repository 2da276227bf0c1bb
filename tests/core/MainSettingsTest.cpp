#include <gtest/gtest.h>

#include <map>

#include "MainSettings.h"

using namespace korvex;

namespace {

MainSettings Sample() {
    MainSettings s;
    s.subject = L"Чертежи (часть %i / %n)";
    s.path = L"C:\\Drawings\\";
    s.viewStyle = 3;
    s.edit = true;
    s.box = L"Office";
    s.left = -20;
    s.top = 40;
    s.width = 750;
    s.height = 450;
    s.windowState = 2;
    return s;
}

SettingReader FromMap(const std::map<std::wstring, std::wstring, std::less<>>& stored) {
    return [&stored](std::wstring_view key) -> std::optional<std::wstring> {
        const auto it = stored.find(key);
        return it == stored.end() ? std::nullopt : std::optional<std::wstring>(it->second);
    };
}

}  // namespace

TEST(MainSettings, TheTenKeysInTheirOrderWithTheirTexts) {
    const auto texts = MainSettingTexts(Sample());
    const std::vector<std::pair<std::wstring_view, std::wstring>> expected{
        {L"Subject", L"Чертежи (часть %i / %n)"},
        {L"Path", L"C:\\Drawings\\"},
        {L"ViewStyle", L"3"},
        {L"Edit", L"1"},
        {L"Box", L"Office"},
        {L"Left", L"-20"},
        {L"Top", L"40"},
        {L"Width", L"750"},
        {L"Height", L"450"},
        {L"WindowState", L"2"},
    };
    EXPECT_EQ(texts, expected);
    std::vector<std::wstring> names;
    for (const auto& [name, text] : expected) names.emplace_back(name);
    EXPECT_EQ(MainSettingNames(), names);
}

TEST(MainSettings, WhatIsWrittenReadsBack) {
    std::map<std::wstring, std::wstring, std::less<>> stored;
    for (const auto& [name, text] : MainSettingTexts(Sample())) stored.emplace(name, text);
    EXPECT_EQ(ReadMainSettings(FromMap(stored), MainSettings{}), Sample());
}

TEST(MainSettings, MissingKeysAndTextsThatAreNoNumbersKeepTheCurrentValues) {
    const std::map<std::wstring, std::wstring, std::less<>> stored{
        {L"Subject", L""},         // an empty text is a value
        {L"ViewStyle", L"list"},   // no number: kept
        {L"Edit", L"0"},           // the flag cleared
        {L"Left", L"$10"},         // hexadecimal
        {L"Top", L"99999999999"},  // too big: kept
        {L"WindowState", L"1"},
    };
    MainSettings expected = Sample();
    expected.subject.clear();
    expected.edit = false;
    expected.left = 16;
    expected.windowState = 1;
    EXPECT_EQ(ReadMainSettings(FromMap(stored), Sample()), expected);
    EXPECT_EQ(ReadMainSettings(FromMap({}), Sample()), Sample());
}
