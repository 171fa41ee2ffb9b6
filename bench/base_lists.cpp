// The baseline of the folder figure: a window with two list boxes of the styles and sizes of
// Tempiro's file and folder lists, filled by the same two list calls. The folder to enter is its
// command-line tail (ending with a backslash); each double-click notification from the folder
// list, as the harness sends it, enters that folder or goes back to C:\, in turn, as Tempiro does
// when the harness double-clicks the folder and then [..].
// With "/held " before the folder, the lists' redrawing is held during the fill (WM_SETREDRAW)
// and they are repainted once afterwards: what the same fill costs without a repaint per entry.
#include <windows.h>

#include <stdio.h>
#include <string.h>

static const char ClassName[] = "TempiroBenchLists";
static const int FileListId = 101;
static const int FolderListId = 102;
static const DWORD ListStyle = WS_CHILD | WS_VISIBLE | LBS_STANDARD;

static const char *EnteredFolder = "";
static bool Inside;
static bool HeldRedraw;

static void FillLists(HWND window, const char *folder)
{
    // Made current first, as Tempiro does: Wine's list call at a drive's root would otherwise
    // list that drive's current folder.
    SetCurrentDirectoryA(folder);
    HWND lists[2] = {GetDlgItem(window, FileListId), GetDlgItem(window, FolderListId)};
    if (HeldRedraw)
        for (HWND list : lists)
            SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    char specification[300];
    snprintf(specification, sizeof specification, "%s*.exe", folder);
    DlgDirListA(window, specification, FileListId, 0, DDL_ARCHIVE);
    snprintf(specification, sizeof specification, "%s*.", folder);
    DlgDirListA(window, specification, FolderListId, 0, DDL_DIRECTORY);
    if (HeldRedraw) {
        for (HWND list : lists) {
            SendMessageA(list, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(list, nullptr, TRUE);
        }
    }
}

static HWND CreateList(HWND parent, int x, int y, int width, int height, int id)
{
    return CreateWindowExA(0, "LISTBOX", "", ListStyle, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

static LRESULT CALLBACK BaseListsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        CreateList(window, 10, 10, 100, 100, FileListId);
        CreateList(window, 120, 10, 100, 75, FolderListId);
        FillLists(window, "C:\\");
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == FolderListId && HIWORD(wParam) == LBN_DBLCLK) {
            Inside = !Inside;
            FillLists(window, Inside ? EnteredFolder : "C:\\");
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR tail, int showCommand)
{
    static const char HeldOption[] = "/held ";
    HeldRedraw = strncmp(tail, HeldOption, sizeof HeldOption - 1) == 0;
    EnteredFolder = HeldRedraw ? tail + sizeof HeldOption - 1 : tail;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = BaseListsProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = ClassName;
    if (!RegisterClassA(&windowClass))
        return 1;

    HWND window = CreateWindowExA(0, ClassName, "Baseline", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                  CW_USEDEFAULT, 0, 240, 200, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 1;
    ShowWindow(window, showCommand);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
