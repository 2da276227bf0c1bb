// Temporary folders leave nothing behind: read-only entries, the process's current folder inside
// them, many files, and the folders of earlier runs that ended before they could clean up.

#include <gtest/gtest.h>

#include "FileSystem.h"
#include "Process.h"
#include "TestSupport.h"

namespace korvex::test {
namespace {

bool Exists(const std::wstring& path) {
    return platform::FileAttributes(path) != INVALID_FILE_ATTRIBUTES;
}

TEST(TempDir, GoesWithEverythingInIt) {
    wchar_t before[MAX_PATH + 1];
    GetCurrentDirectoryW(MAX_PATH + 1, before);
    std::wstring path;
    {
        TempDir dir;
        path = dir.Path();
        MakeDir(dir / L"sub");
        MakeDir(dir / L"sub\\deeper");
        WriteBytes(dir / L"sub\\read-only.txt", "x", FILE_ATTRIBUTE_READONLY);
        WriteBytes(dir / L"sub\\deeper\\hidden.txt", "x", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        SetFileAttributesW((dir / L"sub\\deeper").c_str(), FILE_ATTRIBUTE_READONLY);
        for (int i = 0; i < 1000; ++i) WriteBytes(dir / (L"f" + std::to_wstring(i) + L".dwg"), "");
        // The explorer makes the folder it lists the current one.
        ASSERT_TRUE(SetCurrentDirectoryW((dir / L"sub\\deeper").c_str()));
    }
    EXPECT_FALSE(Exists(path));
    SetCurrentDirectoryW(before);
}

TEST(TempDir, FoldersOfProcessesThatEndedAreRemovedAndOthersKept) {
    TempDir logs;
    SetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", (logs / L"log.jsonl").c_str());
    platform::UniqueHandle process;
    ASSERT_EQ(platform::StartProcess(FakeBatPath(), FakeBatPath() + L" /MAILU=x", process), 0u);
    SetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", nullptr);
    ASSERT_EQ(WaitForSingleObject(process.get(), 60000), WAIT_OBJECT_0);

    wchar_t temp[MAX_PATH + 1];
    const std::wstring root(temp, GetTempPathW(MAX_PATH + 1, temp));
    // As a run that was killed leaves it: a folder named with that process's id, full of files.
    const std::wstring ended = root + L"korvex-test-" + std::to_wstring(GetProcessId(process.get())) + L"-1-1\\";
    MakeDir(ended);
    MakeDir(ended + L"inner");
    for (int i = 0; i < 200; ++i) WriteBytes(ended + L"inner\\f" + std::to_wstring(i), "x", FILE_ATTRIBUTE_READONLY);
    TempDir mine;  // of this process, which runs

    // Test processes that start meanwhile sweep the same folder too and may hold parts of it for a
    // moment: the sweep is asked again until the folder is gone, within a bound.
    EXPECT_TRUE(WaitFor(
        [&] {
            RemoveStaleTempDirs();
            return !Exists(ended);
        },
        std::chrono::seconds(20)));
    EXPECT_TRUE(Exists(mine.Path()));
    RemoveTree(ended);
}

}  // namespace
}  // namespace korvex::test
