// The drive, folder and file lists with which the user picks the application.
#pragma once

#include <windows.h>

// The folder being browsed, always ending with a backslash (C:\GAMES\, d:\).
extern char CurrentFolder[256];

// The selected application's full path; all 270 bytes are written to the settings file.
extern char ApplicationPath[270];

// The settings file's bare name, derived from the selected application's; empty until then.
extern char SettingsFileName[MAX_PATH];

// Fills the file and folder lists for CurrentFolder, then the drive list once.
void FillBrowser(HWND window);

// The double-click actions of the three lists.
void SelectApplication(HWND window);
void EnterFolder(HWND window);
void ChangeDrive(HWND window);
