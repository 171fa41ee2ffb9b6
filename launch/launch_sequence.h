// Launch mode: run the application of a settings file under its stored date.
#pragma once

#include <windows.h>

// Exit codes of launch mode, for scripts.
enum LaunchResult {
    LaunchDone = 0,           // the application was started and the date put back
    LaunchUnreadableFile = 1, // the settings file could not be read
    LaunchDateRefused = 2,    // the clock refused the stored date
    LaunchNotStarted = 3,     // the application could not be started; the date is back at once
};

// Reads `settingsFile`, puts its date on the clock, shows the application's path, starts it,
// waits for it at most 10 seconds and puts the date back. Boxes are owned by `owner`.
LaunchResult RunLaunchSequence(HWND owner, const char *settingsFile);
