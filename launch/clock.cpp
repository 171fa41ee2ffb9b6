#include "launch/clock.h"

#include "launch/date_math.h"

static const ClockSnapshot *PendingRestore;

static BOOL SetClockDate(SYSTEMTIME *clock, WORD year, WORD month, WORD day)
{
    clock->wYear = year;
    clock->wMonth = month;
    clock->wDay = day;
    if (!SetLocalTime(clock))
        return FALSE;
    // SetLocalTime converts to UTC with the daylight-saving state in force before the call, so a
    // date in the other period lands an hour off; the documented cure is a second call with the
    // same record, which converts with the state of the new date.
    SetLocalTime(clock);
    return TRUE;
}

static LONGLONG ReadCounter()
{
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

static ULONGLONG MillisecondsSince(LONGLONG counter)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    LONGLONG ticks = ReadCounter() - counter;
    if (ticks < 0 || frequency.QuadPart <= 0)
        return 0;
    // Split so that ticks * 1000 cannot overflow however long the program has run.
    return static_cast<ULONGLONG>(ticks / frequency.QuadPart) * 1000u
           + static_cast<ULONGLONG>(ticks % frequency.QuadPart) * 1000u
                 / static_cast<ULONGLONG>(frequency.QuadPart);
}

static uint32_t TimeOfDay(const SYSTEMTIME *time)
{
    return MillisecondsOfDay(time->wHour, time->wMinute, time->wSecond, time->wMilliseconds);
}

BOOL ApplyDate(WORD year, WORD month, WORD day)
{
    SYSTEMTIME clock;
    GetLocalTime(&clock);
    return SetClockDate(&clock, year, month, day);
}

void TakeClockSnapshot(ClockSnapshot *snapshot)
{
    GetLocalTime(&snapshot->time);
    snapshot->counter = ReadCounter();
}

BOOL RestoreSnapshotDate(const ClockSnapshot *snapshot)
{
    const ULONGLONG elapsed = MillisecondsSince(snapshot->counter);
    SYSTEMTIME now;
    GetLocalTime(&now);
    const CalendarDate taken = {snapshot->time.wYear, snapshot->time.wMonth, snapshot->time.wDay};
    const CalendarDate date = RestoreDate(taken, TimeOfDay(&snapshot->time), elapsed, TimeOfDay(&now));
    return SetClockDate(&now, date.year, date.month, date.day);
}

void ArmDateRestore(const ClockSnapshot *snapshot)
{
    PendingRestore = snapshot;
}

BOOL PutBackDateOnce()
{
    const ClockSnapshot *snapshot = PendingRestore;
    PendingRestore = nullptr;
    if (snapshot == nullptr)
        return FALSE;
    RestoreSnapshotDate(snapshot);
    return TRUE;
}
