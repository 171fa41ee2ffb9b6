// The entry routine: one instance at a time, then the window (interactive mode) or the launch
// of a settings file named on the command line.
#include <windows.h>

#include "launch/command_line.h"
#include "launch/launch_sequence.h"
#include "window/main_window.h"

static const char ClassName[] = "MyApp";
static const char InstanceAtomName[] = "tempir";

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
