// The local clock: changing only its date, and putting a date back later.
#pragma once

#include <windows.h>

// The local clock and the monotonic counter read together, so that the date can later be put
// back as the date of this moment plus the time elapsed since, midnight passed or not.
struct ClockSnapshot {
    SYSTEMTIME time;
    LONGLONG counter;
};

// Replaces the clock's year, month and day, keeping its running time of day.
// Nonzero when the platform accepted the date.
BOOL ApplyDate(WORD year, WORD month, WORD day);

void TakeClockSnapshot(ClockSnapshot *snapshot);

// Puts on the clock the date of `snapshot` plus the time elapsed since it was taken.
BOOL RestoreSnapshotDate(const ClockSnapshot *snapshot);

// The snapshot whose date PutBackDateOnce puts back (none: nothing to put back). The snapshot
// must outlive the arming.
void ArmDateRestore(const ClockSnapshot *snapshot);

// Puts back the armed snapshot's date and disarms, so that whichever of the normal end and the
// end of the session comes first restores the date, and only once. FALSE when nothing was armed.
BOOL PutBackDateOnce();
