// The application of the exit figure: it ends at once, and writes the performance counter (one
// clock for every process) into the harness's shared memory just before it returns, so that the
// harness can tell how long the launcher took to end after it.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, "TempiroBenchExitStamp");
    LONGLONG *stamp = nullptr;
    if (mapping != nullptr)
        stamp = static_cast<LONGLONG *>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof *stamp));
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    if (stamp != nullptr)
        *stamp = now.QuadPart;
    return 0;
}
