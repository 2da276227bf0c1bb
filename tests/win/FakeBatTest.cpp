// The stand-in client's log under load and when it cannot be written: no start goes unnoticed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
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

    std::vector<std::wstring> attachments;  // of the copies that started, in start order

    // Starts count copies at once, each with an attachment of its own. A start the system refuses
    // is counted by the recorder and tried once more after the others, as one start with its one
    // retry: still while the first copies append.
    void StartMany(StartRecorder& starts, std::size_t count) {
        std::vector<std::wstring> refused;
        const auto start = [&](const std::wstring& attachment) {
            const std::wstring command = FakeBatPath() + L" /MAILU=Office;TO=\"a@b\";A=\"" + attachment + L"\";S=\"s\"";
            const bool started = starts.Start(FakeBatPath(), command) == 0;
            if (started) attachments.push_back(attachment);
            return started;
        };
        for (std::size_t i = 0; i < count; ++i) {
            const std::wstring attachment = files / (L"лист-" + std::to_wstring(i) + L".dwg");
            if (!start(attachment)) refused.push_back(attachment);
        }
        for (const std::wstring& attachment : refused) start(attachment);
    }
    void StartOne(StartRecorder& starts) {
        StartMany(starts, 1);
        ASSERT_EQ(starts.Started(), 1u) << starts.RefusedErrors();
    }
};

// Every copy that started leaves exactly its own line, whole, however many append at once. Wine
// refuses some of so many starts on a busy machine: those are reported, not counted as lost lines,
// but most must start, or the test would prove nothing.
TEST_F(FakeBat, EveryOneOfManyCopiesStartedAtOnceLeavesItsLine) {
    constexpr std::size_t kCopies = 150;
    StartRecorder starts;
    // A reader that keeps opening the log, as a waiting test does, while the copies append.
    std::atomic<bool> done{false};
    std::thread reader([&] {
        while (!done) ReadFakeBatLog(log);
    });
    StartMany(starts, kCopies);
    std::vector<LogLine> lines;
    try {
        lines = WaitForFakeBatLog(log, starts);
    } catch (const std::runtime_error& e) {
        ADD_FAILURE() << e.what();
    }
    done = true;
    reader.join();
    ReportRefusedStarts(starts);
    ASSERT_GT(starts.Started(), kCopies / 2) << "refused, retries included: " << starts.RefusedErrors();
    ASSERT_EQ(lines.size(), starts.Started());
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].at("attachments"), attachments[i]);
    // Every line of the log is whole: none torn, none run into another.
    const std::string bytes = ReadBytes(log);
    EXPECT_EQ(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')), ReadFakeBatLog(log).size());
    EXPECT_EQ(starts.UnusualExits(), L"");
}

// A start the system refuses is counted apart, by its error, and no line is waited for it.
TEST_F(FakeBat, ARefusedStartIsCountedApartAndNoLineIsWaitedFor) {
    StartRecorder starts;
    const std::wstring missing = files / L"нет.exe";
    EXPECT_EQ(starts.Start(missing, L"\"" + missing + L"\" /MAILU=Office"), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    StartOne(starts);
    // A refusal under load of the start that follows is counted too, by its own error.
    EXPECT_TRUE(starts.RefusedErrors().starts_with(L"2 \u00D71")) << starts.RefusedErrors();
    EXPECT_EQ(WaitForFakeBatLog(log, starts).size(), 1u);
}

TEST_F(FakeBat, AnAbandonedLockIsTakenOverAndAHeldOneWaitedFor) {
    const std::wstring name = FakeBatLogMutexName(log);
    // A holder that ends without releasing the lock.
    std::thread([&] {
        const HANDLE mutex = CreateMutexW(nullptr, TRUE, name.c_str());
        CloseHandle(mutex);
    }).join();
    StartRecorder starts;
    StartOne(starts);
    EXPECT_EQ(WaitForFakeBatLog(log, starts).size(), 1u);

    // A holder that keeps it: the copy waits and appends once the lock is free.
    const platform::UniqueHandle held(CreateMutexW(nullptr, TRUE, name.c_str()));
    ASSERT_TRUE(held);
    StartRecorder more;
    StartOne(more);
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
        StartOne(starts);
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
