// The command line's paths: our split against the system's own, and relative paths made full
// against the current folder of the start.

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "CommandLineCases.h"
#include "CommandLinePaths.h"
#include "StartPaths.h"
#include "TestSupport.h"

namespace korvex::test {
namespace {

TEST(StartPaths, TheSystemSplitsTheTableAsWeDo) {
    for (const auto& c : CommandLineCases()) {
        int count = 0;
        LPWSTR* argv = CommandLineToArgvW(c.commandLine.c_str(), &count);
        ASSERT_NE(argv, nullptr) << c.commandLine;
        const std::vector<std::wstring> system(argv, argv + count);
        LocalFree(argv);
        EXPECT_EQ(system, c.arguments) << c.why << ": " << c.commandLine;
        EXPECT_EQ(SplitCommandLine(c.commandLine), system) << c.why;
    }
}

TEST(StartPaths, RelativePathsAreTakenFromTheCurrentFolder) {
    TempDir dir;
    wchar_t saved[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
    const std::wstring root = dir.Path().substr(0, 3);  // "C:\"
    const auto paths = platform::StartPaths(
        L"korvex.exe лист.dwg \"..\\Чертежи\\план 1.dwg\" .\\a\\..\\b.dwg \\top.dwg Z:\\ \"sub\\\"");
    SetCurrentDirectoryW(saved);
    const std::wstring parent = dir.Path().substr(0, dir.Path().find_last_of(L'\\', dir.Path().size() - 2) + 1);
    const std::vector<std::wstring> expected{
        dir / L"лист.dwg", parent + L"Чертежи\\план 1.dwg", dir / L"b.dwg", root + L"top.dwg", L"Z:\\", dir / L"sub\\"};
    EXPECT_EQ(paths, expected);
}

// Made full, a device's path would become "\\.\CON": it is kept as given, to be named as given.
TEST(StartPaths, DevicesAreKeptAsGiven) {
    TempDir dir;
    wchar_t saved[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
    const auto paths = platform::StartPaths(
        L"korvex.exe C:\\kxt\\CON nul.txt \\\\.\\PhysicalDrive0 f03.dwg "
        L"\\\\.\\C:\\kxt\\f03.dwg");
    SetCurrentDirectoryW(saved);
    const std::vector<std::wstring> expected{L"C:\\kxt\\CON", L"nul.txt", L"\\\\.\\PhysicalDrive0", dir / L"f03.dwg",
                                             L"\\\\.\\C:\\kxt\\f03.dwg"};
    EXPECT_EQ(paths, expected);
}

}  // namespace
}  // namespace korvex::test
