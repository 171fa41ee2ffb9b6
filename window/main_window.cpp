#include "window/main_window.h"

HINSTANCE AppInstance;
ClockSnapshot StartupClock;

static void OnCreate()
{
    TakeClockSnapshot(&StartupClock);
    ArmDateRestore(&StartupClock);
}

static void OnDestroy()
{
    PutBackDateOnce();
    PostQuitMessage(0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate();
        break;
    case WM_DESTROY:
        OnDestroy();
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
