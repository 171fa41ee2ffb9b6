// The main window, created in this process, and the end of the session.
#include <gtest/gtest.h>

#include <string.h>

#include "launch/clock.h"
#include "launch/launch_sequence.h"
#include "support.h"
#include "window/main_window.h"

namespace {

HWND CreateMainWindow()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = MainWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "MyApp";
        registered = RegisterClassA(&windowClass) != 0;
    }
    AppInstance = GetModuleHandleA(nullptr);
    return CreateWindowExA(0, "MyApp", "Tempiro", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                           CW_USEDEFAULT, 0, 240, 200, nullptr, nullptr, AppInstance, nullptr);
}

void Destroy(HWND window)
{
    DestroyWindow(window);
    MSG message; // the quit message posted by the destruction
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

TEST(SessionEnd, PutsTheStartupDateBackOnlyWhenTheSessionEnds)
{
    HWND window = CreateMainWindow();
    ASSERT_NE(nullptr, window);
    SendMessageA(window, WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(PutBackDateOnce()) << "a cancelled end of session put the date back";
    Destroy(window);
}

// Whichever of the end of the session and the destruction comes first puts the date back and
// leaves nothing for the other.
TEST(SessionEnd, PutsTheDateBackAtTheFirstOfSessionEndAndDestruction)
{
    HWND window = CreateMainWindow();
    ASSERT_NE(nullptr, window);
    SendMessageA(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(PutBackDateOnce()) << "the end of the session did not put the date back";
    Destroy(window);

    window = CreateMainWindow();
    ASSERT_NE(nullptr, window);
    Destroy(window);
    EXPECT_FALSE(PutBackDateOnce()) << "the destruction did not put the date back";
}

// In launch mode the hidden main window gets the end of the session while the "Now running
// program" box waits: the stored date must not stay on the clock. A hook answers the box in
// this process, after delivering the end of the session (or not) and asking whether a date was
// still due to be put back.
struct LaunchProbe {
    HWND mainWindow;
    bool endSession;
    bool boxSeen;
    BOOL stillDue;
};
LaunchProbe Probe;

LRESULT CALLBACK AnswerNowRunning(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        char caption[64] = "";
        GetWindowTextA(box, caption, sizeof caption);
        if (strcmp(caption, "Now running program") == 0 && !Probe.boxSeen) {
            Probe.boxSeen = true;
            if (Probe.endSession)
                SendMessageA(Probe.mainWindow, WM_ENDSESSION, TRUE, 0);
            Probe.stillDue = PutBackDateOnce();
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(SessionEnd, PutsTheSnapshotDateBackDuringALaunch)
{
    const std::string folder = FreshFolder("session-end");
    const std::string app = folder + "app.exe";
    PlaceTestApp(app);
    WriteBytes(folder + "a.tpr", TodayRecord(app));
    for (bool endSession : {false, true}) {
        SCOPED_TRACE(endSession ? "session ends" : "session goes on");
        HWND window = CreateMainWindow();
        ASSERT_NE(nullptr, window);
        Probe = {window, endSession, false, FALSE};
        HHOOK hook = SetWindowsHookExA(WH_CBT, AnswerNowRunning, nullptr, GetCurrentThreadId());
        EXPECT_EQ(LaunchDone, RunLaunchSequence(window, (folder + "a.tpr").c_str()));
        UnhookWindowsHookEx(hook);
        EXPECT_TRUE(Probe.boxSeen);
        EXPECT_EQ(endSession ? FALSE : TRUE, Probe.stillDue);
        Destroy(window);
    }
    RemoveTree(folder);
}

} // namespace
