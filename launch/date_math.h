// Calendar arithmetic for putting a date back on the clock. Portable: no Windows headers.
#pragma once

#include <stdint.h>

struct CalendarDate {
    uint16_t year;
    uint16_t month;
    uint16_t day;
};

enum : uint32_t { MillisecondsPerDay = 86400000u };

uint32_t MillisecondsOfDay(uint16_t hour, uint16_t minute, uint16_t second, uint16_t milliseconds);

// `date` moved by `days` (negative to go back) in the proleptic Gregorian calendar.
CalendarDate AddDays(CalendarDate date, int64_t days);

// The date the clock must carry now so that it shows the moment `elapsedMs` after a snapshot
// taken on `snapshotDate` at `snapshotMsOfDay`, given that the clock's time of day now reads
// `nowMsOfDay`. The time of day is never changed, so the day is chosen to match it: that keeps
// the result right when midnight passed since the snapshot, and also when it passes between
// measuring `elapsedMs` and reading `nowMsOfDay`.
CalendarDate RestoreDate(CalendarDate snapshotDate, uint32_t snapshotMsOfDay, uint64_t elapsedMs,
                         uint32_t nowMsOfDay);
