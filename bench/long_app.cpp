// The application of the wait-bound figure: it runs on well past the launcher's 10-second wait.
// The harness ends it after each run.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    Sleep(20000);
    return 0;
}
