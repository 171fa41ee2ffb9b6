// ApplyDate and the restoring of a snapshot's date against Wine's clock, which accepts only a
// date equal to today's and refuses every other.
#include <gtest/gtest.h>

#include "launch/clock.h"
#include "launch/date_math.h"
#include "support.h"

namespace {

CalendarDate DateOf(const SYSTEMTIME &t)
{
    return {t.wYear, t.wMonth, t.wDay};
}

LONGLONG CounterMillisecondsAgo(ULONGLONG ms)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return now.QuadPart - static_cast<LONGLONG>(ms * static_cast<ULONGLONG>(frequency.QuadPart) / 1000);
}

TEST(ApplyDate, TakesTodayAndIsRefusedOtherDates)
{
    const SYSTEMTIME now = Today();
    const CalendarDate yesterday = AddDays(DateOf(now), -1);
    EXPECT_NE(0, ApplyDate(now.wYear, now.wMonth, now.wDay));
    EXPECT_EQ(0, ApplyDate(2000, 2, 30));
    EXPECT_EQ(0, ApplyDate(now.wYear, 13, 1));
    EXPECT_EQ(0, ApplyDate(now.wYear, now.wMonth, 0));
    EXPECT_EQ(0, ApplyDate(yesterday.year, yesterday.month, yesterday.day));
}

TEST(RestoreSnapshotDate, PutsBackTheDateOfTheSnapshotPlusTheElapsedTime)
{
    ClockSnapshot snapshot;
    TakeClockSnapshot(&snapshot);
    EXPECT_NE(0, RestoreSnapshotDate(&snapshot)) << "a snapshot of now restores today";

    // A snapshot of yesterday, 23:59:59.000, taken that long ago: its date plus the elapsed time
    // is today, which the clock accepts; putting back the snapshot's own date would be refused.
    const SYSTEMTIME now = Today();
    const CalendarDate yesterday = AddDays(DateOf(now), -1);
    ClockSnapshot lastNight = {};
    lastNight.time.wYear = yesterday.year;
    lastNight.time.wMonth = yesterday.month;
    lastNight.time.wDay = yesterday.day;
    lastNight.time.wHour = 23;
    lastNight.time.wMinute = 59;
    lastNight.time.wSecond = 59;
    const ULONGLONG sinceLastNight =
        MillisecondsOfDay(now.wHour, now.wMinute, now.wSecond, now.wMilliseconds) + 1000;
    lastNight.counter = CounterMillisecondsAgo(sinceLastNight);
    EXPECT_NE(0, RestoreSnapshotDate(&lastNight));

    // The same snapshot as if just taken: yesterday's date goes back, which Wine refuses.
    lastNight.counter = CounterMillisecondsAgo(0);
    EXPECT_EQ(0, RestoreSnapshotDate(&lastNight));
}

} // namespace
