#include "window/browser.h"

#include <strsafe.h>

#include "resources/resource.h"

char CurrentFolder[256] = "C:\\";
char ApplicationPath[270];
char SettingsFileName[MAX_PATH];

// Fills list `listId` with the entries of CurrentFolder that match `pattern`.
static void FillList(HWND window, int listId, const char *pattern, UINT attributes)
{
    // Writable, since the list call may rewrite it; CurrentFolder and the pattern always fit.
    char specification[270];
    if (FAILED(StringCchPrintfA(specification, ARRAYSIZE(specification), "%s%s", CurrentFolder,
                                pattern)))
        return;
    DlgDirListA(window, specification, listId, 0, attributes);
}

static void RefillFolderLists(HWND window)
{
    // Made current here as well as by the list call: at a drive's root Wine's list call would
    // make that drive's own current folder current instead.
    SetCurrentDirectoryA(CurrentFolder);
    FillList(window, ID_FILE_LIST, "*.exe", DDL_ARCHIVE);
    FillList(window, ID_FOLDER_LIST, "*.", DDL_DIRECTORY);
}

void FillBrowser(HWND window)
{
    RefillFolderLists(window);
    // Without DDL_EXCLUSIVE the current folder's files are listed too, after the drives.
    char everything[1] = "";
    DlgDirListA(window, everything, ID_DRIVE_LIST, 0, DDL_DRIVES);
}
