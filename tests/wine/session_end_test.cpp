// The main window, created in this process, and the end of the session.
#include <gtest/gtest.h>

#include "launch/clock.h"
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

} // namespace
