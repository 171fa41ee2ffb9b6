#include "window/browser.h"

#include <strsafe.h>

#include "resources/resource.h"
#include "window/browser_rules.h"
#include "window/main_window.h"

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
    // A visible list box repaints for every entry it is given: a folder of 10,000 programs took
    // a minute and a half to list, and takes a quarter of a second with the painting held.
    HWND lists[] = {FileList, FolderList};
    for (HWND list : lists)
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);

    // Made current here as well as by the list call: at a drive's root Wine's list call would
    // make that drive's own current folder current instead.
    SetCurrentDirectoryA(CurrentFolder);
    FillList(window, ID_FILE_LIST, "*.exe", DDL_ARCHIVE);
    FillList(window, ID_FOLDER_LIST, "*.", DDL_DIRECTORY);

    for (HWND list : lists) {
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    }
}

void FillBrowser(HWND window)
{
    RefillFolderLists(window);
    // Without DDL_EXCLUSIVE the current folder's files are listed too, after the drives.
    char everything[1] = "";
    DlgDirListA(window, everything, ID_DRIVE_LIST, 0, DDL_DRIVES);
}

// The selected entry of `list`, read whole, in memory the caller frees with HeapFree; NULL when
// nothing is selected.
static char *ReadSelectedEntry(HWND list)
{
    const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR)
        return nullptr;
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR)
        return nullptr;
    char *entry = static_cast<char *>(HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(length) + 1));
    if (entry == nullptr)
        return nullptr;
    const LRESULT got = SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(entry));
    if (got == LB_ERR || got > length) {
        HeapFree(GetProcessHeap(), 0, entry);
        return nullptr;
    }
    entry[got] = '\0';
    return entry;
}

void SelectApplication(HWND window)
{
    char *entry = ReadSelectedEntry(FileList);
    if (entry == nullptr)
        return;
    // A path the settings record cannot hold is refused; the previous selection stays.
    char name[ARRAYSIZE(SettingsFileName)];
    if (!SettingsNameOfEntry(entry, name, ARRAYSIZE(name))
        || !JoinApplicationPath(CurrentFolder, entry, ApplicationPath, ARRAYSIZE(ApplicationPath))) {
        MessageBoxA(window, "The application path is too long.", "Application not selected",
                    MB_ICONWARNING);
    } else {
        StringCchCopyA(SettingsFileName, ARRAYSIZE(SettingsFileName), name);
        MessageBoxA(window, ApplicationPath, "Application properly selected", MB_OK);
    }
    HeapFree(GetProcessHeap(), 0, entry);
}

void EnterFolder(HWND window)
{
    char *entry = ReadSelectedEntry(FolderList);
    if (entry == nullptr)
        return;
    switch (ApplyFolderEntry(CurrentFolder, ARRAYSIZE(CurrentFolder), entry)) {
    case FolderEntered:
        RefillFolderLists(window);
        break;
    case FolderAtRoot:
        break;
    case FolderNotDirectory:
        MessageBoxA(window, "This is not a directory.", "Invalid directory", MB_ICONWARNING);
        break;
    case FolderNameTooLong:
        MessageBoxA(window, "The folder name is too long.", "Invalid directory", MB_ICONWARNING);
        break;
    }
    HeapFree(GetProcessHeap(), 0, entry);
}

void ChangeDrive(HWND window)
{
    char *entry = ReadSelectedEntry(DriveList);
    if (entry == nullptr)
        return;
    char root[4];
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, clusters;
    // Only whether the drive answers matters; for a drive without a medium the platform may
    // show its own box first.
    if (!DriveRootOfEntry(entry, root)
        || !GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters)) {
        MessageBoxA(window, "This drive is not accessible.", "Error reading from drive",
                    MB_ICONWARNING);
    } else {
        StringCchCopyA(CurrentFolder, ARRAYSIZE(CurrentFolder), root);
        RefillFolderLists(window);
    }
    HeapFree(GetProcessHeap(), 0, entry);
}
