#include <gtest/gtest.h>

#include "SendDispatch.h"

#include "SimpleFold.h"

using namespace korvex;

namespace {

struct Start {
    std::wstring application, command;
};

SendList ThreeEntries() {
    SendList list(SimpleFold);
    list.Add(L"C:\\Drawings\\a.dwg", L"1 KB");
    list.Add(L"C:\\Drawings\\plan.dwg", L"1 KB");
    list.Add(L"D:\\c.dwg", L"1 KB");
    return list;
}

}  // namespace

TEST(DispatchSend, OneStartPerEntryAndFailuresCounted) {
    const SendList list = ThreeEntries();
    std::vector<Start> starts;
    const SendRequest request{L"\"D:\\Mail\\client.exe\"", L"Work", L"recipient", L"Чертежи (часть %i / %n)", true};
    const auto outcome =
        StartSend(PlanSend(request, list.Entries()), [&](std::wstring_view app, std::wstring_view cmd) {
            starts.push_back({std::wstring(app), std::wstring(cmd)});
            return starts.size() == 2 ? 0u : 5u;  // the first and third fail
        });
    ASSERT_EQ(starts.size(), 3u);
    EXPECT_EQ(starts[1].application, L"D:\\Mail\\client.exe");
    EXPECT_EQ(starts[1].command,
              L"\"D:\\Mail\\client.exe\" /MAILU=Work;TO=\"recipient\";A=\"C:\\Drawings\\plan.dwg\";"
              L"S=\"Чертежи (часть 2 / 3)\";edit");
    EXPECT_NE(starts[2].command.find(L"S=\"Чертежи (часть 3 / 3)\""), std::wstring::npos);
    EXPECT_EQ(outcome.total, 3u);
    EXPECT_EQ(outcome.attempted, 3u);
    EXPECT_EQ(outcome.failed, 2u);
    EXPECT_EQ(outcome.firstError, 5u);
    EXPECT_FALSE(outcome.stopped);
}

TEST(DispatchSend, ClientApplicationLosesOnlyEnclosingQuotes) {
    EXPECT_EQ(ClientApplication(L"C:\\Program Files\\The Bat!\\thebat64.exe"),
              L"C:\\Program Files\\The Bat!\\thebat64.exe");
    EXPECT_EQ(ClientApplication(L"\"C:\\Program Files\\x.exe\""), L"C:\\Program Files\\x.exe");
    EXPECT_EQ(ClientApplication(L"\""), L"\"");
}

TEST(DispatchSend, ClientPathChecks) {
    const auto kindOf = [](std::wstring_view path) {
        return path.ends_with(L".exe")    ? PathKind::File
               : path.ends_with(L"\\dir") ? PathKind::Folder
                                          : PathKind::Missing;
    };
    const std::wstring longest = L"C:\\" + std::wstring(kMaxClientPathLength - 7, L'x') + L".exe";
    ASSERT_EQ(longest.size(), kMaxClientPathLength);
    struct Case {
        std::wstring path;
        std::optional<ClientPathProblem> problem;
    } const cases[] = {
        {L"C:\\Mail\\client.exe", std::nullopt},
        {L"", ClientPathProblem::Empty},
        {L"C:\\Mail\\gone.com", ClientPathProblem::Missing},
        {L"C:\\Mail\\dir", ClientPathProblem::Folder},
        {longest, std::nullopt},
        {L"C:\\x" + longest, ClientPathProblem::TooLong},
        {std::wstring(100000, L'y') + L".exe", ClientPathProblem::TooLong},
        {std::wstring(L"C:\\client.exe\0junk.exe", 22), ClientPathProblem::Missing},
    };
    for (const auto& c : cases) EXPECT_EQ(CheckClientPath(c.path, kindOf), c.problem) << c.path.size();
}

TEST(DispatchSend, ACommandOverTheLimitStopsTheWholeSend) {
    const SendList list = ThreeEntries();
    SendRequest request{L"C:\\m.exe", L"Work", L"r", L"s", false};
    // The second entry's command is the longest (plan.dwg): the limit decides at its length.
    const std::size_t second = PlanSend(request, list.Entries()).commands[1].size();
    for (const std::size_t limit : {second, second - 1}) {
        SCOPED_TRACE(limit);
        const SendPlan plan = PlanSend(request, list.Entries(), limit);
        ASSERT_EQ(plan.commands.size(), 3u);
        std::size_t starts = 0;
        const auto outcome = StartSend(plan, [&](std::wstring_view, std::wstring_view) { return ++starts, 0u; });
        if (limit == second) {
            EXPECT_FALSE(plan.firstOverlong);
            EXPECT_EQ(starts, 3u);
        } else {
            EXPECT_EQ(plan.firstOverlong, 1u);
            EXPECT_EQ(starts, 0u);
            EXPECT_EQ(outcome.attempted, 0u);
        }
    }
    // At the system's own limit: a subject that makes the command exactly 32,766 characters passes,
    // one more character does not.
    const std::size_t base = PlanSend(request, list.Entries()).commands[0].size() - 1;  // without the "s"
    request.subjectTemplate.assign(kMaxCommandLength - base, L's');
    EXPECT_EQ(PlanSend(request, list.Entries()).commands[0].size(), kMaxCommandLength);
    EXPECT_EQ(PlanSend(request, list.Entries()).firstOverlong, 1u);  // plan.dwg is longer than a.dwg
    request.subjectTemplate.pop_back();
    request.subjectTemplate.pop_back();
    request.subjectTemplate.pop_back();
    EXPECT_FALSE(PlanSend(request, list.Entries()).firstOverlong);
}

TEST(DispatchSend, ProgressIsToldEachStartAndCanStopTheSend) {
    const SendList list = ThreeEntries();
    const SendPlan plan = PlanSend({L"C:\\m.exe", L"W", L"r", L"s", false}, list.Entries());
    std::vector<std::pair<std::size_t, std::size_t>> told;
    std::size_t starts = 0;
    const auto outcome = StartSend(
        plan, [&](std::wstring_view, std::wstring_view) { return ++starts, 0u; },
        [&](std::size_t done, std::size_t total) {
            told.emplace_back(done, total);
            return done < 2;  // stop after the second start
        });
    EXPECT_EQ(starts, 2u);
    EXPECT_EQ(told, (std::vector<std::pair<std::size_t, std::size_t>>{{1, 3}, {2, 3}}));
    EXPECT_EQ(outcome.attempted, 2u);
    EXPECT_EQ(outcome.total, 3u);
    EXPECT_TRUE(outcome.stopped);
    // Stopping after the last start is no stop.
    EXPECT_FALSE(StartSend(
                     plan, [](std::wstring_view, std::wstring_view) { return 0u; },
                     [](std::size_t done, std::size_t total) { return done < total; })
                     .stopped);
}

TEST(DispatchSend, ShortenMiddle) {
    EXPECT_EQ(ShortenMiddle(L"C:\\short.exe", 20), L"C:\\short.exe");
    EXPECT_EQ(ShortenMiddle(L"abcdefghij", 5), L"ab\u2026ij");
    EXPECT_EQ(ShortenMiddle(L"abcdefghij", 6), L"abc\u2026ij");
    const std::wstring longPath = L"C:\\" + std::wstring(5000, L'd') + L"\\client.exe";
    const std::wstring shown = ShortenMiddle(longPath, 120);
    EXPECT_EQ(shown.size(), 120u);
    EXPECT_TRUE(shown.starts_with(L"C:\\ddd"));
    EXPECT_TRUE(shown.ends_with(L"d\\client.exe"));
    // A surrogate pair on either cut stays whole or goes whole.
    const std::wstring pairs =
        L"a\xD83D\xDCE7\xD83D\xDCE7"
        L"b";
    for (std::size_t n = 1; n <= pairs.size(); ++n) {
        const std::wstring s = ShortenMiddle(pairs, n);
        EXPECT_LE(s.size(), n);
        for (std::size_t i = 0; i < s.size(); ++i) {
            const bool high = s[i] >= 0xD800 && s[i] <= 0xDBFF, low = s[i] >= 0xDC00 && s[i] <= 0xDFFF;
            if (high) {
                EXPECT_TRUE(i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) << n;
            }
            if (low) {
                EXPECT_TRUE(i > 0 && s[i - 1] >= 0xD800 && s[i - 1] <= 0xDBFF) << n;
            }
        }
    }
}

TEST(DispatchSend, AFileGoneBeforeItsStartIsNotStartedAndAHookMayStopAfterAnyStart) {
    SendList list = ThreeEntries();
    const SendRequest request{L"C:\\bat.exe", L"Work", L"r", L"s %i", false};
    const SendPlan plan = PlanSend(request, list.Entries());
    std::vector<std::wstring> starts;
    const ProcessStarter start = [&](std::wstring_view, std::wstring_view cmd) {
        starts.emplace_back(cmd);
        return StartOutcome{};
    };
    std::vector<std::pair<std::size_t, bool>> told;  // position, gone
    SendHooks hooks;
    hooks.present = [](std::size_t position) { return position != 1; };
    hooks.started = [&](std::size_t position, const StartOutcome& outcome) {
        told.emplace_back(position, outcome.gone);
        return true;
    };
    DispatchOutcome outcome = StartSend(plan, {0, 1, 2}, start, hooks);
    EXPECT_EQ(starts.size(), 2u);
    EXPECT_EQ(told, (std::vector<std::pair<std::size_t, bool>>{{0, false}, {1, true}, {2, false}}));
    EXPECT_EQ(outcome.gone, (std::vector<std::size_t>{1}));
    EXPECT_EQ(outcome.failed, 0u);
    EXPECT_FALSE(outcome.stopped);

    // A hook that cannot let the send go on (a record that could not be written) stops it after
    // that start; stopping after the last start is no stop.
    for (const std::size_t stopAt : {0u, 2u}) {
        starts.clear();
        hooks.present = {};
        hooks.started = [&](std::size_t position, const StartOutcome&) { return position != stopAt; };
        outcome = StartSend(plan, {0, 1, 2}, start, hooks);
        EXPECT_EQ(starts.size(), stopAt + 1);
        EXPECT_EQ(outcome.stopped, stopAt != 2);
    }
}

TEST(DispatchSend, EntriesNumberedByTheirSetAndOthersLeftOut) {
    SendList list = ThreeEntries();
    const SendRequest request{L"C:\\bat.exe", L"Work", L"r", L"s %i/%n", false};
    const SendPlan plan = PlanSend(request, list.Entries(), kMaxCommandLength, {{4, 9}, {}, {9, 9}});
    EXPECT_EQ(plan.subjects, (std::vector<std::wstring>{L"s 4/9", L"", L"s 9/9"}));
    EXPECT_TRUE(plan.commands[1].empty());
    EXPECT_NE(plan.commands[2].find(L"S=\"s 9/9\""), std::wstring::npos);
    // An entry left out is never the one found too long.
    const SendPlan tight = PlanSend(request, list.Entries(), plan.commands[0].size(), {{4, 9}, {}, {}});
    EXPECT_FALSE(tight.firstOverlong);
}
