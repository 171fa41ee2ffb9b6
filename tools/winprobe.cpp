// A helper of the scripts, run under Wine beside tempir.exe:
//   winprobe wait MS   waits at most MS for Tempiro's main window or a message box to be visible,
//                      then prints its position and size ("x y width height") and its title
//   winprobe close MS  closes Tempiro's windows and answers its boxes until none is left
//   winprobe launch EXE [TAIL]
//                      starts EXE with the command line "EXE" TAIL, exactly as the shell's open
//                      command would (Wine's own start re-quotes arguments), and waits for it
// Exit code 0 when it found (wait) or closed (close) what it looked for, 1 otherwise; for launch,
// the program's own exit code.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static bool IsOurs(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return IsWindowVisible(window) && (strcmp(name, "MyApp") == 0 || strcmp(name, "#32770") == 0);
}

static BOOL CALLBACK FindOurs(HWND window, LPARAM found)
{
    if (!IsOurs(window))
        return TRUE;
    *reinterpret_cast<HWND *>(found) = window;
    return FALSE;
}

static HWND FirstOurs()
{
    HWND found = nullptr;
    EnumWindows(FindOurs, reinterpret_cast<LPARAM>(&found));
    return found;
}

static int Launch(const char *exe, const char *tail)
{
    char line[32768];
    if (snprintf(line, sizeof line, "\"%s\"%s%s", exe, *tail ? " " : "", tail) >= (int)sizeof line)
        return 2;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started;
    if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        fprintf(stderr, "winprobe: cannot start %s (error %lu)\n", exe, GetLastError());
        return 2;
    }
    CloseHandle(started.hThread);
    WaitForSingleObject(started.hProcess, INFINITE);
    DWORD code = 2;
    GetExitCodeProcess(started.hProcess, &code);
    CloseHandle(started.hProcess);
    return static_cast<int>(code);
}

int main(int argc, char **argv)
{
    if (argc >= 3 && argc <= 4 && strcmp(argv[1], "launch") == 0)
        return Launch(argv[2], argc == 4 ? argv[3] : "");
    if (argc != 3)
        return 2;
    const DWORD timeout = strtoul(argv[2], nullptr, 10);
    const DWORD start = GetTickCount();
    if (strcmp(argv[1], "wait") == 0) {
        HWND window;
        while ((window = FirstOurs()) == nullptr) {
            if (GetTickCount() - start > timeout)
                return 1;
            Sleep(50);
        }
        Sleep(500); // let it paint
        RECT area;
        GetWindowRect(window, &area);
        char title[256] = "";
        GetWindowTextA(window, title, sizeof title);
        printf("%ld %ld %ld %ld %s\n", area.left, area.top, area.right - area.left,
               area.bottom - area.top, title);
        return 0;
    }
    if (strcmp(argv[1], "close") == 0) {
        HWND window;
        while ((window = FirstOurs()) != nullptr) {
            if (GetTickCount() - start > timeout)
                return 1;
            char name[64] = "";
            GetClassNameA(window, name, sizeof name);
            if (strcmp(name, "#32770") == 0)
                PostMessageA(window, WM_COMMAND, IDOK, 0);
            else
                PostMessageA(window, WM_CLOSE, 0, 0);
            Sleep(200);
        }
        return 0;
    }
    return 2;
}
