// The application that settings files start in the tests. It takes no command line (the launcher
// gives none), so it reads its instructions from <its own path>.cfg (milliseconds to stay) and
// appends what it saw to <its own path>.log: its start and end, with the local date and time and
// the folder it was started in.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void Append(const char *logPath, const char *what)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    char line[1024];
    snprintf(line, sizeof line, "%s %04u-%02u-%02u %02u:%02u:%02u.%03u pid=%lu cwd=%s\n", what,
             now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
             now.wMilliseconds, GetCurrentProcessId(), folder);
    HANDLE log = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE)
        return;
    DWORD written;
    WriteFile(log, line, static_cast<DWORD>(strlen(line)), &written, nullptr);
    CloseHandle(log);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char self[MAX_PATH + 8];
    const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 1;
    char logPath[MAX_PATH + 8], configPath[MAX_PATH + 8];
    snprintf(logPath, sizeof logPath, "%s.log", self);
    snprintf(configPath, sizeof configPath, "%s.cfg", self);

    Append(logPath, "started");
    DWORD stayMs = 0;
    HANDLE config = CreateFileA(configPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (config != INVALID_HANDLE_VALUE) {
        char text[32] = "";
        DWORD got = 0;
        ReadFile(config, text, sizeof text - 1, &got, nullptr);
        text[got] = '\0';
        stayMs = strtoul(text, nullptr, 10);
        CloseHandle(config);
    }
    Sleep(stayMs);
    Append(logPath, "ended");
    return 0;
}
