// The baseline of the launch figures: the least a launcher does. It shows one message box like
// Tempiro's, then starts the application named by its command-line tail and waits for it as long
// as Tempiro does; no settings file, no date.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR application, int)
{
    MessageBoxA(nullptr, application, "Now running program", MB_OK);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started;
    if (!CreateProcessA(application, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started))
        return 3;
    CloseHandle(started.hThread);
    WaitForSingleObject(started.hProcess, 10000);
    CloseHandle(started.hProcess);
    return 0;
}
