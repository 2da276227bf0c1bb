// The stand-in client's log under load and when it cannot be written: no start goes unnoticed.

#include <gtest/gtest.h>

#include <thread>

#include "LogLock.h"
#include "TestSupport.h"

namespace korvex::test {
namespace {

class FakeBat : public ::testing::Test {
protected:
    TempDir files;
    std::wstring log = files / L"log.jsonl";
    void SetUp() override { SetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", log.c_str()); }
    void TearDown() override { SetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", nullptr); }

    void StartMany(StartRecorder& starts, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            const std::wstring command = FakeBatPath() + L" /MAILU=Office;TO=\"a@b\";A=\"" +
                                         (files / (L"лист-" + std::to_wstring(i) + L".dwg")) + L"\";S=\"s\"";
            ASSERT_EQ(starts.Start(FakeBatPath(), command), 0u);
        }
    }
};

TEST_F(FakeBat, EveryOneOfManyCopiesStartedAtOnceLeavesItsLine) {
    StartRecorder starts;
    // A reader that keeps opening the log, as a waiting test does, while the copies append.
    std::atomic<bool> done{false};
    std::thread reader([&] {
        while (!done) ReadFakeBatLog(log);
    });
    StartMany(starts, 150);
    const auto lines = WaitForFakeBatLog(log, starts);
    done = true;
    reader.join();
    ASSERT_EQ(lines.size(), 150u);
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].at("attachments"), files / (L"лист-" + std::to_wstring(i) + L".dwg"));
    EXPECT_EQ(starts.UnusualExits(), L"");
}

TEST_F(FakeBat, AnAbandonedLockIsTakenOverAndAHeldOneWaitedFor) {
    const std::wstring name = FakeBatLogMutexName(log);
    // A holder that ends without releasing the lock.
    std::thread([&] {
        const HANDLE mutex = CreateMutexW(nullptr, TRUE, name.c_str());
        CloseHandle(mutex);
    }).join();
    StartRecorder starts;
    StartMany(starts, 1);
    EXPECT_EQ(WaitForFakeBatLog(log, starts).size(), 1u);

    // A holder that keeps it: the copy waits and appends once the lock is free.
    const platform::UniqueHandle held(CreateMutexW(nullptr, TRUE, name.c_str()));
    ASSERT_TRUE(held);
    StartRecorder more;
    StartMany(more, 1);
    EXPECT_EQ(more.Running(), 1u);
    EXPECT_EQ(ReadFakeBatLog(log).size(), 1u);
    ReleaseMutex(held.get());
    EXPECT_EQ(WaitForFakeBatLog(log, more).size(), 1u);
}

TEST_F(FakeBat, ALineThatCannotBeWrittenFailsTheWaitAtOnceByName) {
    struct Case {
        const char* what;
        std::wstring log;
        std::vector<std::string> said;  // in the failure's message
    } const cases[] = {
        // The folder does not exist: neither the log nor the note beside it can be written.
        {"no folder", files / L"gone\\log.jsonl", {"have no line", "exit codes: 6", "A=\""}},
        // The log's path names a folder: the line goes to the note beside it.
        {"a folder", files / L"dir", {"have no line", "exit codes: 5", "dir.failed says: {\"error\":"}},
    };
    MakeDir(files / L"dir");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", c.log.c_str());
        StartRecorder starts;
        StartMany(starts, 1);
        try {
            WaitForFakeBatLog(c.log, starts);
            ADD_FAILURE() << "the wait did not fail";
        } catch (const std::runtime_error& e) {
            const std::string message = e.what();
            for (const auto& part : c.said) EXPECT_NE(message.find(part), std::string::npos) << part << "\n" << message;
        }
    }
}

}  // namespace
}  // namespace korvex::test
