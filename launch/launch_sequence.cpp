#include "launch/launch_sequence.h"

#include "launch/clock.h"
#include "launch/start_application.h"
#include "settings/settings_file.h"
#include "settings/settings_record.h"

static const DWORD ApplicationWaitMs = 10000;

LaunchResult RunLaunchSequence(HWND owner, const char *settingsFile)
{
    // Nothing of this run's to put back until the stored date is on the clock.
    ArmDateRestore(nullptr);

    SettingsRecord record;
    if (!ReadSettingsFile(settingsFile, record.path, &record.year, &record.month, &record.day)) {
        MessageBoxA(owner, "Tempiro was unable to load the saved file", "Invalid or corrupted file",
                    MB_ICONWARNING);
        return LaunchUnreadableFile;
    }

    ClockSnapshot snapshot;
    TakeClockSnapshot(&snapshot);
    if (!ApplyDate(record.year, record.month, record.day)) {
        MessageBoxA(owner, "Tempiro was unable to set the date", "Corrupted TPR file", MB_ICONWARNING);
        return LaunchDateRefused;
    }
    // From here the main window puts the date back too, should the session end meanwhile.
    ArmDateRestore(&snapshot);

    MessageBoxA(owner, record.path, "Now running program", MB_OK);
    HANDLE application = StartApplication(record.path);
    if (application != nullptr) {
        WaitForSingleObject(application, ApplicationWaitMs);
        CloseHandle(application);
    }
    PutBackDateOnce();
    return application != nullptr ? LaunchDone : LaunchNotStarted;
}
