// Local times under a zone with daylight saving. Wine takes the zone from the TZ variable of its
// process (measured with Wine 8: "TZ=CET-1CEST,M3.5.0,M10.5.0/3", a rule glibc reads without any
// zone file, and TZ=Europe/Berlin give the same zone; GetTimeZoneInformation reports the rule and
// SystemTimeToTzSpecificLocalTime applies it). The CMake test starts this executable with that
// variable; a machine whose own zone is UTC would otherwise probe no change of offset at all.

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdint>

#include "ExplorerText.h"
#include "Locale.h"

namespace korvex::test {
namespace {

constexpr const char* kStartWith = "start this test with TZ=CET-1CEST,M3.5.0,M10.5.0/3";

bool ZoneHasDaylightSaving() {
    TIME_ZONE_INFORMATION zone{};
    return GetTimeZoneInformation(&zone) != TIME_ZONE_ID_INVALID && zone.DaylightDate.wMonth != 0 &&
           zone.DaylightBias != 0;
}

FILETIME Utc(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    const SYSTEMTIME utc{year, month, 0, day, hour, minute, second, 0};
    FILETIME time{};
    SystemTimeToFileTime(&utc, &time);
    return time;
}

// Central European time: one hour ahead of UTC in winter, two in summer; summer time begins on the
// last Sunday of March at 01:00 UTC (02:00 becomes 03:00) and ends on the last Sunday of October at
// 01:00 UTC (03:00 becomes 02:00). Each side of each change, a minute apart, in two years.
TEST(DaylightSavingZone, TheOffsetChangesAtTheBoundaries) {
    ASSERT_TRUE(ZoneHasDaylightSaving()) << kStartWith;
    struct Case {
        const char* what;
        FILETIME utc;
        LocalTime local;
    };
    const Case cases[] = {
        {"the last winter minute of 2026", Utc(2026, 3, 29, 0, 59, 30), {2026, 3, 29, 1, 59, 30}},
        {"the first summer minute of 2026", Utc(2026, 3, 29, 1, 0, 30), {2026, 3, 29, 3, 0, 30}},
        {"the last summer minute of 2026", Utc(2026, 10, 25, 0, 59, 30), {2026, 10, 25, 2, 59, 30}},
        {"the first winter minute of 2026", Utc(2026, 10, 25, 1, 0, 30), {2026, 10, 25, 2, 0, 30}},
        {"a winter day", Utc(2026, 1, 15, 23, 30, 0), {2026, 1, 16, 0, 30, 0}},
        {"a summer day", Utc(2026, 7, 15, 22, 30, 0), {2026, 7, 16, 0, 30, 0}},
        {"the last winter minute of 2005", Utc(2005, 3, 27, 0, 59, 0), {2005, 3, 27, 1, 59, 0}},
        {"the first summer minute of 2005", Utc(2005, 3, 27, 1, 0, 0), {2005, 3, 27, 3, 0, 0}},
        {"the first winter minute of 2005", Utc(2005, 10, 30, 1, 0, 0), {2005, 10, 30, 2, 0, 0}},
    };
    const platform::LocalTimeConverter listing;
    const auto fields = [](const LocalTime& t) {
        return std::array{t.year, t.month, t.day, t.hour, t.minute, t.second};
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(fields(listing(c.utc)), fields(c.local));
        EXPECT_EQ(fields(platform::ToLocalTime(c.utc)), fields(c.local));
    }
    // As the list shows them: the hour that is skipped in spring never appears.
    EXPECT_EQ(ModifiedTimeText(listing(cases[0].utc), DateOrder::dayMonthYear, L".", L":"), L"29.03.2026 01:59");
    EXPECT_EQ(ModifiedTimeText(listing(cases[1].utc), DateOrder::dayMonthYear, L".", L":"), L"29.03.2026 03:00");
}

// The listing's converter reads the zone once; every time must come out as the system's own
// conversion, which looks the zone up per call, gives it. The times probed: noon of every day of
// many years, and every ten minutes (with odd seconds) within a day of each change of the offset.
TEST(DaylightSavingZone, ListingTimesMatchThePerTimeConversionAroundDaylightSavingChanges) {
    ASSERT_TRUE(ZoneHasDaylightSaving()) << kStartWith;
    const platform::LocalTimeConverter toLocal;
    auto fileTime = [](std::uint64_t ticks) {
        return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    };
    auto perCall = [](const FILETIME& time) {
        SYSTEMTIME utc{}, local{};
        FileTimeToSystemTime(&time, &utc);
        if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) local = utc;
        return LocalTime{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
    };
    auto offset = [&](std::uint64_t ticks) {
        const LocalTime t = perCall(fileTime(ticks));
        return (t.hour * 60 + t.minute) - static_cast<int>(ticks / 600000000 % 1440);
    };
    auto expectSame = [&](std::uint64_t ticks) {
        const FILETIME time = fileTime(ticks);
        const LocalTime a = toLocal(time), b = perCall(time);
        const auto fields = [](const LocalTime& t) {
            return std::array{t.year, t.month, t.day, t.hour, t.minute, t.second};
        };
        if (fields(a) != fields(b)) ADD_FAILURE() << "differs at file time " << ticks;
        return fields(a) == fields(b);
    };
    constexpr std::uint64_t kMinute = 600000000, kDay = 1440 * kMinute;
    constexpr std::uint64_t kFrom = 0x01A8E79FE1D58000ull;  // 1 January 1980, 00:00 UTC
    int changes = 0;
    for (std::uint64_t day = kFrom + 720 * kMinute; day < kFrom + 60ull * 365 * kDay; day += kDay) {
        if (!expectSame(day)) return;
        if (offset(day) == offset(day + kDay)) continue;
        ++changes;
        for (std::uint64_t t = day - 720 * kMinute; t < day + kDay + 720 * kMinute; t += 10 * kMinute)
            if (!expectSame(t) || !expectSame(t + 59 * 10000000ull + 9999999)) return;
    }
    // Two changes a year, in every one of the sixty years probed but the first and last.
    EXPECT_GE(changes, 2 * 58);
}

}  // namespace
}  // namespace korvex::test
