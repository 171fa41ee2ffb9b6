#include "window/main_window.h"

#include <strsafe.h>

#include "platform/file_type.h"
#include "resources/resource.h"
#include "settings/settings_file.h"
#include "window/browser.h"
#include "window/date_field.h"

HINSTANCE AppInstance;
ClockSnapshot StartupClock;

HWND FileList;
HWND FolderList;
HWND DriveList;
HWND YearField;
HWND MonthField;
HWND DayField;

static const DWORD ListStyle = WS_CHILD | WS_VISIBLE | LBS_STANDARD;
static const DWORD FieldStyle = WS_CHILD | WS_VISIBLE | WS_BORDER;

static HWND CreateChild(HWND parent, const char *className, const char *text, DWORD style, int x,
                        int y, int width, int height, int id)
{
    return CreateWindowExA(0, className, text, style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), AppInstance, nullptr);
}

// The field's value by ParseDateField; 0 (invalid) for text of more than 9 characters, which is
// refused rather than cut into another number.
static WORD ReadDateField(HWND field)
{
    char text[10];
    const LRESULT length = SendMessageA(field, EM_LINELENGTH, 0, 0);
    if (length < 0 || length >= static_cast<LRESULT>(sizeof text))
        return 0;
    // EM_GETLINE takes the buffer's size in its first word and adds no terminator.
    *reinterpret_cast<WORD *>(text) = static_cast<WORD>(sizeof text - 1);
    const LRESULT copied = SendMessageA(field, EM_GETLINE, 0, reinterpret_cast<LPARAM>(text));
    if (copied < 0 || copied >= static_cast<LRESULT>(sizeof text))
        return 0;
    text[copied] = '\0';
    return ParseDateField(text);
}

static void Save(HWND window)
{
    const WORD year = ReadDateField(YearField);
    const WORD month = ReadDateField(MonthField);
    const WORD day = ReadDateField(DayField);
    // The clock is the judge of the date, and keeps it when it accepts it.
    if (year == 0 || month == 0 || day == 0 || !ApplyDate(year, month, day)) {
        MessageBoxA(window, "Typed date is invalid: YYYY-MM-DD", "Invalid date", MB_ICONWARNING);
        return;
    }
    if (SettingsFileName[0] == '\0') {
        MessageBoxA(window, "Please select an application.", "No application selected", MB_OK);
        return;
    }
    // Written into the folder being browsed, named in full: the process's current folder can lag
    // behind it when a folder could not be made current.
    char fileName[ARRAYSIZE(CurrentFolder) + ARRAYSIZE(SettingsFileName)];
    if (SUCCEEDED(StringCchPrintfA(fileName, ARRAYSIZE(fileName), "%s%s", CurrentFolder,
                                   SettingsFileName))
        && WriteSettingsFile(fileName, ApplicationPath, year, month, day))
        MessageBoxA(window, SettingsFileName, "Info has been saved", MB_OK);
    else
        MessageBoxA(window, "Unable to create the file", "Invalid file name", MB_ICONWARNING);
}

static void ShowAbout(HWND window)
{
    MessageBoxA(window,
                "Tempiro " APP_VERSION_TEXT "\n"
                "Runs an application under a chosen calendar date.\n"
                "\n"
                "Copyright (C) 2026 The Tempiro developers.\n"
                "Questions and reports: the Tempiro project's issue tracker.",
                "About Tempiro V" APP_VERSION_TEXT, MB_OK);
}

static void OnCreate(HWND window)
{
    RegisterFileType();
    TakeClockSnapshot(&StartupClock);
    ArmDateRestore(&StartupClock);

    FileList = CreateChild(window, "LISTBOX", "", ListStyle, 10, 10, 100, 100, ID_FILE_LIST);
    FolderList = CreateChild(window, "LISTBOX", "", ListStyle, 120, 10, 100, 75, ID_FOLDER_LIST);
    DriveList = CreateChild(window, "LISTBOX", "", ListStyle, 120, 90, 100, 20, ID_DRIVE_LIST);
    YearField = CreateChild(window, "EDIT", "YYYY", FieldStyle, 10, 120, 50, 20, ID_YEAR_FIELD);
    MonthField = CreateChild(window, "EDIT", "MM", FieldStyle, 70, 120, 50, 20, ID_MONTH_FIELD);
    DayField = CreateChild(window, "EDIT", "DD", FieldStyle, 130, 120, 50, 20, ID_DAY_FIELD);

    FillBrowser(window);
    SendMessageA(DriveList, LB_SETCURSEL, 1, 0);
}

static void OnCommand(HWND window, int id, int notification)
{
    switch (id) {
    case ID_FILE_SAVE:
        Save(window);
        break;
    case ID_FILE_LIST:
        if (notification == LBN_DBLCLK)
            SelectApplication(window);
        break;
    case ID_FOLDER_LIST:
        if (notification == LBN_DBLCLK)
            EnterFolder(window);
        break;
    case ID_DRIVE_LIST:
        if (notification == LBN_DBLCLK)
            ChangeDrive(window);
        break;
    case ID_FILE_EXIT:
        DestroyWindow(window);
        break;
    case ID_HELP_ABOUT:
        ShowAbout(window);
        break;
    }
}

static void OnDestroy()
{
    PutBackDateOnce();
    PostQuitMessage(0);
}

// The destruction handler does not run when the session ends, and in launch mode the window is
// never destroyed: the date typed or stored must not stay on the clock.
static void OnEndSession(BOOL ending)
{
    if (ending)
        PutBackDateOnce();
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        break;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam), HIWORD(wParam));
        break;
    case WM_ENDSESSION:
        OnEndSession(static_cast<BOOL>(wParam));
        break;
    case WM_DESTROY:
        OnDestroy();
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
