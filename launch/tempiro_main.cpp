// The entry routine: one instance at a time, then the window (interactive mode) or the launch
// of a settings file named on the command line.
#include <windows.h>

#include "launch/clock.h"
#include "launch/command_line.h"
#include "launch/start_application.h"
#include "settings/settings_file.h"
#include "settings/settings_record.h"
#include "window/main_window.h"

static const char ClassName[] = "MyApp";
static const char InstanceAtomName[] = "tempir";
static const DWORD ApplicationWaitMs = 10000;

// Exit codes of launch mode, for scripts.
enum LaunchResult {
    LaunchDone = 0,
    LaunchUnreadableFile = 1,
    LaunchDateRefused = 2,
    LaunchNotStarted = 3,
};

static BOOL RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, ClassName);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszMenuName = ClassName;
    windowClass.lpszClassName = ClassName;
    return RegisterClassA(&windowClass) != 0;
}

static int RunMessageLoop()
{
    MSG message;
    BOOL got;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return got == 0 ? static_cast<int>(message.wParam) : 0;
}

static int RunLaunchSequence(HWND owner, const char *settingsFile)
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

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR, int showCommand)
{
    // Derived here rather than taken from the C runtime, whose rules for the program name differ.
    const char *settingsFile = CommandLineTail(GetCommandLineA());

    if (previousInstance == nullptr && !RegisterMainWindowClass(instance))
        return 0;
    AppInstance = instance;

    HWND window = CreateWindowExA(0, ClassName, "Tempiro", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                  CW_USEDEFAULT, 0, 240, 200, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 0;

    if (GlobalFindAtomA(InstanceAtomName) != 0) {
        MessageBoxA(window, "Please wait 10 seconds.", "Tempiro already in use.", MB_ICONWARNING);
        return 0;
    }
    const ATOM instanceAtom = GlobalAddAtomA(InstanceAtomName);

    int exitCode;
    if (*settingsFile == '\0') {
        ShowWindow(window, showCommand);
        exitCode = RunMessageLoop();
    } else {
        exitCode = RunLaunchSequence(window, settingsFile);
    }

    if (instanceAtom != 0)
        GlobalDeleteAtom(instanceAtom);
    return exitCode;
}
