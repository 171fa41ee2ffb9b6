#include "launch/start_application.h"

HANDLE StartApplication(const char *path)
{
    STARTUPINFOA startup;
    GetStartupInfoA(&startup);
    PROCESS_INFORMATION started;
    if (!CreateProcessA(path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return nullptr;
    // Only the process is waited on; its first thread's handle is of no use to the launcher.
    CloseHandle(started.hThread);
    return started.hProcess;
}
