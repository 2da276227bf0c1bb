#include <gtest/gtest.h>

#include "CommandLineCases.h"
#include "CommandLinePaths.h"

using namespace korvex;

TEST(CommandLinePaths, SplitsByTheSystemsRules) {
    for (const auto& c : test::CommandLineCases())
        EXPECT_EQ(SplitCommandLine(c.commandLine), c.arguments) << c.why << ": " << c.commandLine;
}

TEST(CommandLinePaths, PathsAfterTheProgramsName) {
    struct Case {
        std::wstring commandLine;
        std::vector<std::wstring> paths;
    };
    const Case cases[] = {
        {L"korvex.exe", {}},
        {L"\"C:\\Korvex\\korvex.exe\"   ", {}},
        // Empty arguments are no paths; a drive root and a folder quoted by Explorer keep their backslash.
        {L"k.exe \"C:\\Чертежи\\лист 1.dwg\" \"\" \"D:\\\"", {L"C:\\Чертежи\\лист 1.dwg", L"D:\\"}},
        {L"k.exe \"C:\\Чертежи\\\"", {L"C:\\Чертежи\\"}},
        // Relative paths are left for the caller to resolve.
        {L"k.exe ..\\a.dwg \"лист 2.dwg\"", {L"..\\a.dwg", L"лист 2.dwg"}},
        // Two quoted folders ending in backslashes run together: no such path exists, and it is
        // named as missing rather than guessed at.
        {L"k.exe \"C:\\A\\\" \"C:\\B\"", {L"C:\\A\" C:\\B"}},
    };
    for (const auto& c : cases) EXPECT_EQ(CommandLinePaths(c.commandLine), c.paths) << c.commandLine;
}

TEST(CommandLinePaths, FullPaths) {
    for (const wchar_t* full : {L"C:\\", L"c:/a", L"\\\\server\\share", L"\\\\?\\C:\\a", L"z:\\Чертежи"})
        EXPECT_TRUE(IsFullPath(full)) << full;
    for (const wchar_t* relative : {L"", L"C:", L"C:a", L"\\a", L"a\\b", L"..\\a", L"1:\\a", L"\\\\"})
        EXPECT_FALSE(IsFullPath(relative)) << relative;
}

TEST(PathBlock, RoundTripsPathsInTheirOrder) {
    // A path that cannot exist still travels: the receiver names it as missing.
    const std::vector<std::wstring> paths{L"C:\\Чертежи\\лист 1.dwg", L"\\\\srv\\share\\b.dwg", L"D:\\",
                                          L"C:\\A\" C:\\B"};
    EXPECT_EQ(SplitPathBlock(JoinPathBlock(paths)), paths);
    EXPECT_EQ(SplitPathBlock(JoinPathBlock({})), std::vector<std::wstring>{});
    const std::wstring longest = L"C:\\" + std::wstring(kMaxPathLength - 3, L'a');
    EXPECT_EQ(SplitPathBlock(JoinPathBlock({longest})), std::vector<std::wstring>{longest});
}

TEST(PathBlock, RefusesWhatIsNotABlock) {
    using namespace std::string_literals;
    const std::pair<const char*, std::wstring> cases[] = {
        {"empty", L""s},
        {"no end", L"C:\\a\0"s},
        {"no terminator at all", L"C:\\a"s},
        {"an empty path in the middle", L"C:\\a\0\0C:\\b\0\0"s},
        {"a relative path", L"a.dwg\0\0"s},
        {"too long", L"C:\\"s + std::wstring(kMaxPathLength - 2, L'a') + L"\0\0"s},
    };
    for (const auto& [why, block] : cases) EXPECT_EQ(SplitPathBlock(block), std::nullopt) << why;

    // Well-formed paths, but more of them than any start's command line can give: refused as a
    // whole, while the same paths up to the bound are a block.
    std::vector<std::wstring> paths;
    const std::wstring path = L"C:\\" + std::wstring(kMaxPathLength - 3, L'a');
    for (std::size_t length = 1; length + path.size() + 1 <= kMaxBlockLength; length += path.size() + 1)
        paths.push_back(path);
    EXPECT_EQ(SplitPathBlock(JoinPathBlock(paths)), paths);
    paths.push_back(path);
    EXPECT_EQ(SplitPathBlock(JoinPathBlock(paths)), std::nullopt);
}
