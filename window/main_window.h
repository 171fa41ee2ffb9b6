// The main window: its window procedure and the state of interactive mode.
#pragma once

#include <windows.h>

#include "launch/clock.h"

// The program's own module, kept by the entry routine for the window's controls and resources.
extern HINSTANCE AppInstance;

// The clock as read when the main window was created; its date goes back on when the window
// is destroyed or the session ends.
extern ClockSnapshot StartupClock;

extern HWND FileList;
extern HWND FolderList;
extern HWND DriveList;
extern HWND YearField;
extern HWND MonthField;
extern HWND DayField;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
