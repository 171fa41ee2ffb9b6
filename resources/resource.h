// Identifiers shared by the program and its resource script.
#pragma once

// Menu commands
#define ID_FILE_SAVE 100
#define ID_FILE_EXIT 200
#define ID_HELP_ABOUT 300

// Child controls of the main window
#define ID_FILE_LIST 101
#define ID_FOLDER_LIST 102
#define ID_DRIVE_LIST 103
#define ID_YEAR_FIELD 104
#define ID_MONTH_FIELD 105
#define ID_DAY_FIELD 106

// Version, as numbers and as shown
#define APP_VERSION_NUMBERS 2, 2, 0, 0
#define APP_VERSION_TEXT "2.20"
