#include <gtest/gtest.h>

#include "launch/date_math.h"

namespace {

std::string Text(CalendarDate d)
{
    char buffer[32];
    snprintf(buffer, sizeof buffer, "%04u-%02u-%02u", d.year, d.month, d.day);
    return buffer;
}

uint32_t At(unsigned h, unsigned m, unsigned s, unsigned ms = 0)
{
    return MillisecondsOfDay(static_cast<uint16_t>(h), static_cast<uint16_t>(m),
                             static_cast<uint16_t>(s), static_cast<uint16_t>(ms));
}

struct AddDaysCase {
    CalendarDate from;
    int64_t days;
    const char *expected;
};

TEST(AddDays, CrossesMonthYearAndLeapDayBoundaries)
{
    const AddDaysCase cases[] = {
        {{2026, 12, 11}, 0, "2026-12-11"},
        {{2026, 1, 31}, 1, "2026-02-01"},
        {{2026, 4, 30}, 1, "2026-05-01"},
        {{2026, 12, 31}, 1, "2027-01-01"},
        {{2027, 1, 1}, -1, "2026-12-31"},
        {{2024, 2, 28}, 1, "2024-02-29"},
        {{2024, 2, 29}, 1, "2024-03-01"},
        {{2023, 2, 28}, 1, "2023-03-01"},
        {{2000, 2, 28}, 1, "2000-02-29"},
        {{2100, 2, 28}, 1, "2100-03-01"},
        {{1601, 1, 1}, 365, "1602-01-01"},
        {{30827, 12, 30}, 1, "30827-12-31"},
        {{1999, 10, 26}, 366, "2000-10-26"},
    };
    for (const AddDaysCase &c : cases)
        EXPECT_EQ(c.expected, Text(AddDays(c.from, c.days)))
            << Text(c.from) << " + " << c.days;
}

struct RestoreCase {
    const char *what;
    CalendarDate snapshot;
    uint32_t snapshotTime;
    uint64_t elapsed;
    uint32_t now;
    const char *expected;
};

TEST(RestoreDate, PutsBackTheDateOfTheSnapshotPlusTheElapsedTime)
{
    const RestoreCase cases[] = {
        {"same day", {2026, 12, 11}, At(10, 0, 0), 5000, At(10, 0, 5), "2026-12-11"},
        {"past midnight", {2026, 12, 11}, At(23, 59, 55), 15000, At(0, 0, 10), "2026-12-12"},
        {"past a month's end", {2026, 4, 30}, At(23, 59, 59, 500), 1000, At(0, 0, 0, 500),
         "2026-05-01"},
        {"past a year's end", {2026, 12, 31}, At(23, 59, 50), 20000, At(0, 0, 10), "2027-01-01"},
        {"onto a leap day", {2024, 2, 28}, At(23, 59, 59), 2000, At(0, 0, 1), "2024-02-29"},
        {"past a leap day", {2024, 2, 29}, At(23, 59, 59), 2000, At(0, 0, 1), "2024-03-01"},
        {"no leap day in 2100", {2100, 2, 28}, At(23, 59, 59), 2000, At(0, 0, 1), "2100-03-01"},
        {"several days", {2026, 12, 30}, At(12, 0, 0), 3ull * 86400000, At(12, 0, 0), "2027-01-02"},
        // The clock reached midnight between measuring the elapsed time and reading the clock.
        {"midnight between the readings", {2026, 12, 31}, At(23, 59, 50), 9998, At(0, 0, 0, 1),
         "2027-01-01"},
        // The elapsed time says just past midnight, the clock's time of day says just before.
        {"clock a little behind", {2026, 12, 31}, At(23, 59, 50), 10002, At(23, 59, 59, 999),
         "2026-12-31"},
        {"drift of minutes", {2026, 12, 11}, At(23, 0, 0), 7200000, At(1, 3, 0), "2026-12-12"},
    };
    for (const RestoreCase &c : cases)
        EXPECT_EQ(c.expected, Text(RestoreDate(c.snapshot, c.snapshotTime, c.elapsed, c.now)))
            << c.what;
}

} // namespace
