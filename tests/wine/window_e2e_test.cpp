// The real tempir.exe in interactive mode: its window, controls, menu, commands and resources,
// and the file-type association it writes.
#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "support.h"

namespace {

const char InvalidDate[] = "Typed date is invalid: YYYY-MM-DD";

std::string Number(unsigned value)
{
    return std::to_string(value);
}

std::string FullPath(const std::string &path)
{
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return std::string(full, length);
}

RECT ClientRectOf(HWND control)
{
    RECT area;
    GetWindowRect(control, &area);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT *>(&area), 2);
    return area;
}

// Names in `pattern`: the folders' (other than . and ..) or the other files'.
std::vector<std::string> Matching(const char *pattern, bool wantFolders)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        const bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (folder == wantFolders && name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

class Window : public TempiroTest {};

TEST_F(Window, HasItsClassTitleStyleAndSize)
{
    InteractiveRun run;
    HWND window = run.Window();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ("MyApp", ClassOf(window));
    EXPECT_EQ("Tempiro", WindowText(window));
    const DWORD frameBits = WS_POPUP | WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME
                            | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    EXPECT_EQ(0x00CA0000u, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & frameBits);
    EXPECT_TRUE(IsWindowVisible(window));
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(240, outer.right - outer.left);
    EXPECT_EQ(200, outer.bottom - outer.top);
    EXPECT_NE(nullptr, GetMenu(window)) << "the class's menu is missing";
}

TEST_F(Window, HasItsSixControls)
{
    InteractiveRun run;
    ASSERT_NE(nullptr, run.Window());
    const struct {
        int id;
        const char *className;
        DWORD style;
        int x, y, width, height;
        const char *text;
    } controls[] = {
        {101, "ListBox", 0x50A00003, 10, 10, 100, 100, ""},
        {102, "ListBox", 0x50A00003, 120, 10, 100, 75, ""},
        {103, "ListBox", 0x50A00003, 120, 90, 100, 20, ""},
        {104, "Edit", 0x50800000, 10, 120, 50, 20, "YYYY"},
        {105, "Edit", 0x50800000, 70, 120, 50, 20, "MM"},
        {106, "Edit", 0x50800000, 130, 120, 50, 20, "DD"},
    };
    HWND previous = nullptr;
    for (const auto &c : controls) {
        SCOPED_TRACE(c.id);
        HWND control = run.Control(c.id);
        ASSERT_NE(nullptr, control);
        EXPECT_EQ(c.className, ClassOf(control));
        // The platform hides an unneeded scroll bar by clearing WS_VSCROLL, and an edit control
        // draws its WS_BORDER itself, clearing the bit (Wine) or turning it into a client edge.
        const DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
        const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(control, GWL_EXSTYLE))
                              & ~WS_EX_NOPARENTNOTIFY;
        if (ClassOf(control) == "Edit") {
            EXPECT_EQ(c.style, style | WS_BORDER);
            EXPECT_EQ(0u, exStyle & ~static_cast<DWORD>(WS_EX_CLIENTEDGE));
        } else {
            EXPECT_EQ(c.style, style | WS_VSCROLL);
            EXPECT_EQ(0u, exStyle);
        }
        const RECT area = ClientRectOf(control);
        EXPECT_EQ(c.x, area.left);
        EXPECT_EQ(c.y, area.top);
        EXPECT_EQ(c.width, area.right - area.left);
        if (ClassOf(control) == "ListBox") {
            // A list box without LBS_NOINTEGRALHEIGHT shrinks to a whole number of entries.
            const int item = static_cast<int>(SendMessageA(control, LB_GETITEMHEIGHT, 0, 0));
            EXPECT_LE(area.bottom - area.top, c.height);
            EXPECT_GT(area.bottom - area.top, c.height - item);
        } else {
            EXPECT_EQ(c.height, area.bottom - area.top);
        }
        if (ClassOf(control) == "Edit") {
            EXPECT_EQ(c.text, WindowText(control));
        }
        // Created in table order: each follows the previous one among the window's children.
        EXPECT_EQ(previous, GetWindow(control, GW_HWNDPREV));
        previous = control;
    }
}

TEST_F(Window, ListsDriveCAndSelectsTheSecondDrive)
{
    InteractiveRun run;
    ASSERT_NE(nullptr, run.Window());

    // What C:\ holds, listed here independently, in the lists' forms: the programs; the folders
    // in brackets, after the files that the platform matches with *. (those without an extension
    // on Windows, every file under Wine).
    std::vector<std::string> programs = Matching("C:\\*.exe", false);
    std::vector<std::string> folders = Matching("C:\\*.", false);
    for (const std::string &folder : Matching("C:\\*", true))
        folders.push_back("[" + folder + "]");

    std::vector<std::string> files = ListEntries(run.Control(101));
    std::vector<std::string> listedFolders = ListEntries(run.Control(102));
    std::sort(files.begin(), files.end());
    std::sort(programs.begin(), programs.end());
    std::sort(listedFolders.begin(), listedFolders.end());
    std::sort(folders.begin(), folders.end());
    EXPECT_EQ(programs, files);
    EXPECT_EQ(folders, listedFolders);

    const std::vector<std::string> drives = ListEntries(run.Control(103));
    EXPECT_NE(drives.end(), std::find(drives.begin(), drives.end(), "[-c-]"));
    EXPECT_NE(drives.end(), std::find(drives.begin(), drives.end(), "[-z-]"));
    EXPECT_EQ(1, SendMessageA(run.Control(103), LB_GETCURSEL, 0, 0));
}

TEST_F(Window, SaveJudgesTheTypedDate)
{
    InteractiveRun run;
    ASSERT_NE(nullptr, run.Window());
    const SYSTEMTIME now = Today();
    const std::string year = Number(now.wYear), month = Number(now.wMonth), day = Number(now.wDay);
    const char *const NoApplication = "Please select an application.";
    const struct {
        const char *what;
        std::string year, month, day;
        const char *caption;
        const char *text;
        BoxIcon icon;
    } cases[] = {
        {"placeholders", "YYYY", "MM", "DD", "Invalid date", InvalidDate, BoxIcon::Warning},
        {"impossible date", "1999", "2", "30", "Invalid date", InvalidDate, BoxIcon::Warning},
        {"sign", year, "+" + month, day, "Invalid date", InvalidDate, BoxIcon::Warning},
        {"leading blank", year, month, " " + day, "Invalid date", InvalidDate, BoxIcon::Warning},
        {"trailing blank", year + " ", month, day, "Invalid date", InvalidDate, BoxIcon::Warning},
        {"empty", "", month, day, "Invalid date", InvalidDate, BoxIcon::Warning},
        {"zero", year, "0", day, "Invalid date", InvalidDate, BoxIcon::Warning},
        // Ten characters would be the year if cut to nine: refused instead.
        {"ten characters", "0" + std::string(9 - year.size(), '0') + year, month, day,
         "Invalid date", InvalidDate, BoxIcon::Warning},
        {"nine characters", std::string(9 - year.size(), '0') + year, month, day,
         "No application selected", NoApplication, BoxIcon::None},
        {"today", year, month, day, "No application selected", NoApplication, BoxIcon::None},
        // Taken modulo 65536, so the same as this year.
        {"year + 65536", Number(now.wYear + 65536u), month, day, "No application selected",
         NoApplication, BoxIcon::None},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const BoxView box = run.Save(c.year, c.month, c.day);
        EXPECT_EQ(c.caption, box.caption);
        EXPECT_EQ(c.text, box.text);
        EXPECT_EQ(c.icon, box.icon) << IconName(box.icon);
    }
}

TEST_F(Window, AboutNamesTheProgramAndItsVersion)
{
    InteractiveRun run;
    ASSERT_NE(nullptr, run.Window());
    const BoxView box = run.Command(300);
    EXPECT_EQ("About Tempiro V2.20", box.caption);
    EXPECT_EQ(BoxIcon::None, box.icon) << IconName(box.icon);
    EXPECT_NE(std::string::npos, box.text.find("Tempiro 2.20")) << box.text;
    EXPECT_TRUE(run.Process().Running());
}

TEST_F(Window, ExitAndTheCloseButtonEndWithZero)
{
    for (bool byMenu : {true, false}) {
        SCOPED_TRACE(byMenu ? "Exit" : "close button");
        InteractiveRun run;
        ASSERT_NE(nullptr, run.Window());
        EXPECT_TRUE(InstanceAtomPresent());
        if (byMenu)
            PostMessageA(run.Window(), WM_COMMAND, MAKEWPARAM(200, 0), 0);
        else
            PostMessageA(run.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(0u, run.Process().WaitForExit(20000));
        EXPECT_FALSE(InstanceAtomPresent());
    }
}

TEST(Resources, MenuVersionAndIcons)
{
    HMODULE exe = LoadLibraryExA(TempiroExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, exe);

    HMENU menu = LoadMenuA(exe, "MyApp");
    ASSERT_NE(nullptr, menu);
    const struct {
        int popup, item;
        const char *text;
        UINT id;
    } items[] = {{0, 0, "&Save", 100}, {0, 1, "E&xit", 200}, {1, 0, "&About", 300}};
    ASSERT_EQ(2, GetMenuItemCount(menu));
    char text[64];
    GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("&File", text);
    GetMenuStringA(menu, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("&Help", text);
    EXPECT_EQ(2, GetMenuItemCount(GetSubMenu(menu, 0)));
    EXPECT_EQ(1, GetMenuItemCount(GetSubMenu(menu, 1)));
    for (const auto &i : items) {
        HMENU popup = GetSubMenu(menu, i.popup);
        GetMenuStringA(popup, i.item, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(i.text, text);
        EXPECT_EQ(i.id, GetMenuItemID(popup, i.item));
    }
    DestroyMenu(menu);

    // The icon group: 16, 32 and 48 pixels, each in 16 and in 256 colours.
    HRSRC groupInfo = FindResourceA(exe, "MYAPP", MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
    ASSERT_NE(nullptr, groupInfo);
    const BYTE *group = static_cast<const BYTE *>(LockResource(LoadResource(exe, groupInfo)));
    ASSERT_NE(nullptr, group);
    const WORD count = *reinterpret_cast<const WORD *>(group + 4);
    std::vector<std::string> images;
    for (WORD i = 0; i < count; ++i) {
        const BYTE *entry = group + 6 + 14 * i; // GRPICONDIRENTRY
        const WORD bits = *reinterpret_cast<const WORD *>(entry + 6);
        images.push_back(Number(entry[0]) + "x" + Number(entry[1]) + "@" + Number(bits));
    }
    std::sort(images.begin(), images.end());
    EXPECT_EQ((std::vector<std::string>{"16x16@4", "16x16@8", "32x32@4", "32x32@8", "48x48@4",
                                        "48x48@8"}),
              images);
    FreeLibrary(exe);

    // The version block.
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(TempiroExe().c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(TempiroExe().c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void **>(&fixed), &length));
    EXPECT_EQ(0x00020002u, fixed->dwFileVersionMS);
    EXPECT_EQ(0u, fixed->dwFileVersionLS);
    EXPECT_EQ(0x00020002u, fixed->dwProductVersionMS);
    EXPECT_EQ(0u, fixed->dwProductVersionLS);
    const struct {
        const char *name;
        const char *value;
    } strings[] = {{"FileDescription", "Tempiro"}, {"FileVersion", "2.20"},
                   {"ProductVersion", "2.20"}, {"ProductName", "Tempiro"},
                   {"OriginalFilename", "tempir.exe"}};
    for (const auto &s : strings) {
        char *value = nullptr;
        const std::string query = std::string("\\StringFileInfo\\040904B0\\") + s.name;
        ASSERT_TRUE(VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void **>(&value),
                                   &length))
            << s.name;
        EXPECT_STREQ(s.value, value) << s.name;
    }
}

class Association : public TempiroTest {};

TEST_F(Association, EveryStartRegistersTheProgramAndTheShellOpensSettingsFiles)
{
    // Start in launch mode on a missing file: the association is written all the same.
    RegDeleteKeyA(HKEY_CLASSES_ROOT, ".tpr");
    {
        StartedProcess run("\"" + TempiroExe() + "\" C:\\nowhere\\missing.tpr");
        EXPECT_TRUE(AnswerBox(run.Id(), "Invalid or corrupted file",
                              "Tempiro was unable to load the saved file", BoxIcon::Warning));
        EXPECT_EQ(1u, run.WaitForExit(20000));
    }
    char value[MAX_PATH + 8] = "";
    LONG size = sizeof value;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueA(HKEY_CLASSES_ROOT, ".tpr", value, &size));
    EXPECT_STREQ("tempir", value);
    size = sizeof value;
    EXPECT_EQ(ERROR_SUCCESS,
              RegQueryValueA(HKEY_CLASSES_ROOT, "tempir\\shell\\Open\\command", value, &size));
    EXPECT_EQ("\"" + FullPath(TempiroExe()) + "\" %1", std::string(value));

    // Opening a settings file through the shell reaches launch mode, blanks in its path and all.
    const std::string folder = FreshFolder("association");
    CreateDirectoryA((folder + "My Docs").c_str(), nullptr);
    const std::string app = folder + "app.exe";
    PlaceTestApp(app);
    const std::string file = folder + "My Docs\\a.tpr";
    WriteBytes(file, TodayRecord(app));
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExA(&info)) << "error " << GetLastError();
    ASSERT_NE(nullptr, info.hProcess);
    StartedProcess run(info.hProcess);
    EXPECT_TRUE(AnswerBox(run.Id(), "Now running program", app, BoxIcon::None));
    EXPECT_EQ(0u, run.WaitForExit(20000));
    EXPECT_EQ(2u, TestAppLog(app).size());
}

TEST_F(Association, RelativeSettingsFileIsFoundFromTheRootOfDriveC)
{
    // The window's lists make C:\ the current folder before the file is read.
    const std::string folder = FreshFolder("relative");
    const std::string app = folder + "app.exe";
    PlaceTestApp(app);
    WriteBytes(folder + "a.tpr", TodayRecord(app));
    const std::string relative = "tempiro-tests\\relative\\a.tpr";
    StartedProcess run("\"" + TempiroExe() + "\" " + relative, folder.c_str());
    EXPECT_TRUE(AnswerBox(run.Id(), "Now running program", app, BoxIcon::None));
    EXPECT_EQ(0u, run.WaitForExit(20000));
    // The application starts in the launcher's current folder, the root of C:.
    const std::vector<std::string> log = TestAppLog(app);
    ASSERT_EQ(2u, log.size());
    EXPECT_NE(std::string::npos, log[0].find("cwd=C:\\")) << log[0];
}

} // namespace
