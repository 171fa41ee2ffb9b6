#include "launch/date_math.h"

// Days since 1970-01-01 and back, after Howard Hinnant's days_from_civil / civil_from_days.
static int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

static CalendarDate CivilFromDays(int64_t z)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const int64_t m = mp < 10 ? mp + 3 : mp - 9;
    const int64_t y = yoe + era * 400 + (m <= 2);
    CalendarDate date;
    date.year = static_cast<uint16_t>(y);
    date.month = static_cast<uint16_t>(m);
    date.day = static_cast<uint16_t>(d);
    return date;
}

uint32_t MillisecondsOfDay(uint16_t hour, uint16_t minute, uint16_t second, uint16_t milliseconds)
{
    return ((hour * 60u + minute) * 60u + second) * 1000u + milliseconds;
}

CalendarDate AddDays(CalendarDate date, int64_t days)
{
    return CivilFromDays(DaysFromCivil(date.year, date.month, date.day) + days);
}

CalendarDate RestoreDate(CalendarDate snapshotDate, uint32_t snapshotMsOfDay, uint64_t elapsedMs,
                         uint32_t nowMsOfDay)
{
    // Milliseconds from the snapshot day's midnight to the expected present moment; the whole
    // days between that midnight and today's midnight are this, less today's time of day,
    // rounded to the nearest day so that small drift between the two clocks does not matter.
    const int64_t expected = static_cast<int64_t>(snapshotMsOfDay) + static_cast<int64_t>(elapsedMs);
    const int64_t span = expected - static_cast<int64_t>(nowMsOfDay) + MillisecondsPerDay / 2;
    const int64_t days = (span >= 0 ? span : span - (MillisecondsPerDay - 1)) / MillisecondsPerDay;
    return AddDays(snapshotDate, days);
}
