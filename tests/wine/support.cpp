#include "support.h"

#include <stdio.h>
#include <algorithm>
#include <stdlib.h>

namespace {

// The folder of the running test program, where the build put the test application; the
// program under test is two levels up (build/<preset>/tempir.exe).
std::string TestFolder()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length < MAX_PATH ? length : 0);
    return folder.substr(0, folder.rfind('\\') + 1);
}

const char TestRoot[] = "C:\\tempiro-tests\\";

} // namespace

std::string WindowsPath(const std::string &path)
{
    if (path.empty() || path[0] != '/')
        return path;
    std::string result = "Z:" + path;
    for (char &c : result)
        if (c == '/')
            c = '\\';
    return result;
}

std::string TempiroExe()
{
    return TestFolder() + "..\\..\\tempir.exe";
}

std::string TestAppExe()
{
    return TestFolder() + "testapp.exe";
}

std::string RemovableFolder()
{
    // build/<preset>/tests/wine/ -> build/wine-test/removable (see scripts/wine-env)
    char full[MAX_PATH];
    const std::string relative = TestFolder() + "..\\..\\..\\wine-test\\removable\\";
    const DWORD length = GetFullPathNameA(relative.c_str(), MAX_PATH, full, nullptr);
    return std::string(full, length < MAX_PATH ? length : 0);
}

// Wide and in the \\?\ form, so that trees deeper than MAX_PATH go too.
static void RemoveTreeWide(const std::wstring &folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = folder + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTreeWide(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(folder.c_str());
}

static std::wstring LongForm(const std::string &path);

void RemoveTree(const std::string &path)
{
    std::string folder = path;
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    RemoveTreeWide(LongForm(folder));
}

std::string FreshFolder(const std::string &name)
{
    CreateDirectoryA(TestRoot, nullptr);
    const std::string folder = TestRoot + name + "\\";
    RemoveTree(folder);
    if (!CreateDirectoryA(folder.c_str(), nullptr))
        ADD_FAILURE() << "cannot make " << folder << ": error " << GetLastError();
    return folder;
}

void WriteBytes(const std::string &path, const std::string &bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot write " << path << ": error " << GetLastError();
        return;
    }
    DWORD written = 0;
    if (!bytes.empty())
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (written != bytes.size())
        ADD_FAILURE() << "short write to " << path;
}

std::string ReadBytes(const std::string &path, bool *exists)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (exists != nullptr)
        *exists = file != INVALID_HANDLE_VALUE;
    std::string bytes;
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool FileExists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string RecordBytes(const std::string &path, unsigned year, unsigned month, unsigned day)
{
    std::string bytes(276, '\0');
    bytes.replace(0, path.size() < 270 ? path.size() : 270, path.substr(0, 270));
    const unsigned values[3] = {year, month, day};
    for (int i = 0; i < 3; ++i) {
        bytes[270 + 2 * i] = static_cast<char>(values[i] & 0xFF);
        bytes[271 + 2 * i] = static_cast<char>((values[i] >> 8) & 0xFF);
    }
    return bytes;
}

SYSTEMTIME Today()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

std::string TodayRecord(const std::string &path)
{
    const SYSTEMTIME now = Today();
    return RecordBytes(path, now.wYear, now.wMonth, now.wDay);
}

void PlaceTestApp(const std::string &path, DWORD sleepMs)
{
    if (!CopyFileA(TestAppExe().c_str(), path.c_str(), FALSE))
        ADD_FAILURE() << "cannot copy the test application to " << path << ": error "
                      << GetLastError();
    WriteBytes(path + ".cfg", std::to_string(sleepMs));
    DeleteFileA((path + ".log").c_str());
}

std::vector<std::string> TestAppLog(const std::string &path)
{
    const std::string text = ReadBytes(path + ".log");
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

void StartedProcess::MakeJob()
{
    job_ = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
}

StartedProcess::StartedProcess(HANDLE process) : process_(process), id_(GetProcessId(process))
{
    MakeJob();
    AssignProcessToJobObject(job_, process);
}

StartedProcess::StartedProcess(const std::string &commandLine, const char *currentFolder,
                               HANDLE standardError)
{
    MakeJob();

    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (standardError != nullptr) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = standardError;
    }
    PROCESS_INFORMATION started;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, standardError != nullptr,
                        CREATE_SUSPENDED, nullptr, currentFolder, &startup, &started)) {
        ADD_FAILURE() << "cannot start [" << commandLine << "]: error " << GetLastError();
        return;
    }
    if (!AssignProcessToJobObject(job_, started.hProcess))
        ADD_FAILURE() << "cannot put the process in a job: error " << GetLastError();
    ResumeThread(started.hThread);
    CloseHandle(started.hThread);
    process_ = started.hProcess;
    id_ = started.dwProcessId;
}

StartedProcess::~StartedProcess()
{
    if (job_ != nullptr) {
        TerminateJobObject(job_, 0xDEAD);
        CloseHandle(job_);
    }
    if (process_ != nullptr) {
        WaitForSingleObject(process_, 5000);
        CloseHandle(process_);
    }
}

DWORD StartedProcess::WaitForExit(DWORD timeoutMs)
{
    if (process_ == nullptr)
        return STILL_ACTIVE;
    if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_, &code);
    return code;
}

bool StartedProcess::Running()
{
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

const char *IconName(BoxIcon icon)
{
    switch (icon) {
    case BoxIcon::None: return "none";
    case BoxIcon::Warning: return "warning";
    case BoxIcon::Error: return "error";
    case BoxIcon::Information: return "information";
    case BoxIcon::Question: return "question";
    case BoxIcon::Unknown: break;
    }
    return "unknown";
}

// Text of another process's window is asked for in Unicode and turned into ANSI here: Wine
// hands ANSI callers Unicode text across processes for some messages.
static std::string Narrow(const std::wstring &wide)
{
    if (wide.empty())
        return std::string();
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0], size,
                        nullptr, nullptr);
    return text;
}

std::string WindowText(HWND window)
{
    // Asked of the window itself: an edit control of another process keeps its text to itself.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return "<no answer>";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]),
                        SMTO_ABORTIFHUNG, 5000, &got);
    text.resize(got);
    return Narrow(text);
}

std::string ClassOf(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

namespace {

struct WindowSearch {
    DWORD processId;
    const char *className;
    bool visible;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    WindowSearch *search = reinterpret_cast<WindowSearch *>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && (!search->visible || IsWindowVisible(window))
        && ClassOf(window) == search->className) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The icon of a box is told by its pixels: the test draws each standard icon over the dialog
// colour and compares it with what the screen shows in the box's icon control. (An icon handle
// of another process cannot be examined.)
BoxIcon IconShown(HWND iconControl)
{
    RECT area;
    GetWindowRect(iconControl, &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    // A box without icon keeps its icon control, with no icon in it.
    if (!IsWindowVisible(iconControl) || width <= 0 || height <= 0
        || SendMessageA(iconControl, STM_GETICON, 0, 0) == 0)
        return BoxIcon::None;

    const struct {
        BoxIcon icon;
        LPCSTR id;
    } candidates[] = {{BoxIcon::Warning, IDI_WARNING}, {BoxIcon::Error, IDI_ERROR},
                      {BoxIcon::Information, IDI_INFORMATION}, {BoxIcon::Question, IDI_QUESTION}};

    HDC screen = GetDC(nullptr);
    HDC shown = CreateCompatibleDC(screen);
    HBITMAP shownBitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ oldShown = SelectObject(shown, shownBitmap);
    BitBlt(shown, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    HDC drawn = CreateCompatibleDC(screen);
    HBITMAP drawnBitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ oldDrawn = SelectObject(drawn, drawnBitmap);

    BoxIcon result = BoxIcon::Unknown;
    for (const auto &candidate : candidates) {
        RECT all = {0, 0, width, height};
        FillRect(drawn, &all, GetSysColorBrush(COLOR_3DFACE));
        DrawIconEx(drawn, 0, 0, LoadIconA(nullptr, candidate.id), width, height, 0, nullptr,
                   DI_NORMAL);
        bool same = true;
        for (int y = 0; y < height && same; ++y)
            for (int x = 0; x < width && same; ++x)
                same = GetPixel(shown, x, y) == GetPixel(drawn, x, y);
        if (same) {
            result = candidate.icon;
            break;
        }
    }
    SelectObject(drawn, oldDrawn);
    DeleteObject(drawnBitmap);
    DeleteDC(drawn);
    SelectObject(shown, oldShown);
    DeleteObject(shownBitmap);
    DeleteDC(shown);
    ReleaseDC(nullptr, screen);
    return result;
}

HWND IconControl(HWND box)
{
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) == "Static"
            && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return child;
    }
    return nullptr;
}

} // namespace

HWND WaitForWindow(DWORD processId, const char *className, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindWindowOf(processId, className, true);
        if (window != nullptr)
            return window;
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
        Sleep(25);
    }
}

HWND FindWindowOf(DWORD processId, const char *className, bool visible)
{
    WindowSearch search = {processId, className, visible, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindBox(DWORD processId)
{
    return FindWindowOf(processId, "#32770", true);
}

BoxView ReadBox(HWND box)
{
    BoxView view;
    view.window = box;
    view.caption = WindowText(box);
    view.text = WindowText(GetDlgItem(box, 0xFFFF));
    HWND icon = IconControl(box);
    view.icon = BoxIcon::None;
    if (icon != nullptr) {
        // The box may not be painted yet: look again for a moment before calling it unknown.
        const DWORD start = GetTickCount();
        do {
            view.icon = IconShown(icon);
            if (view.icon != BoxIcon::Unknown)
                break;
            Sleep(50);
        } while (GetTickCount() - start < 3000);
    }
    return view;
}

BoxView WaitForBox(DWORD processId, DWORD timeoutMs)
{
    HWND box = WaitForWindow(processId, "#32770", timeoutMs);
    if (box == nullptr)
        return BoxView();
    return ReadBox(box);
}

void PressOk(HWND box)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}

::testing::AssertionResult AnswerBox(DWORD processId, const std::string &caption,
                                     const std::string &text, BoxIcon icon)
{
    const BoxView box = WaitForBox(processId);
    if (box.window == nullptr)
        return ::testing::AssertionFailure() << "no box appeared; expected [" << caption << "]";
    PressOk(box.window);
    if (box.caption != caption || box.text != text || box.icon != icon)
        return ::testing::AssertionFailure()
               << "box seen: [" << box.caption << "] [" << box.text << "] icon "
               << IconName(box.icon) << "; expected [" << caption << "] [" << text << "] icon "
               << IconName(icon);
    return ::testing::AssertionSuccess();
}

bool InstanceAtomPresent()
{
    return GlobalFindAtomA("tempir") != 0;
}

void ClearInstanceAtom()
{
    for (int i = 0; i < 100; ++i) {
        const ATOM atom = GlobalFindAtomA("tempir");
        if (atom == 0)
            return;
        GlobalDeleteAtom(atom);
    }
}

void TempiroTest::SetUp()
{
    if (InstanceAtomPresent()) {
        ClearInstanceAtom();
        FAIL() << "the instance atom was left behind before this test";
    }
}

void TempiroTest::TearDown()
{
    // Every started process has ended by now (their jobs are gone with the test's locals).
    if (InstanceAtomPresent()) {
        ClearInstanceAtom();
        ADD_FAILURE() << "the instance atom outlived the test";
    }
}

void SetText(HWND window, const std::string &text)
{
    DWORD_PTR result;
    if (!SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_ABORTIFHUNG, 5000, &result))
        ADD_FAILURE() << "cannot set the text [" << text << "]";
}

std::vector<std::string> ListEntries(HWND list)
{
    std::vector<std::string> entries;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        std::wstring entry(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
        const LRESULT got = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&entry[0]));
        entry.resize(got > 0 ? static_cast<size_t>(got) : 0);
        entries.push_back(Narrow(entry));
    }
    return entries;
}

InteractiveRun::InteractiveRun() : process_("\"" + TempiroExe() + "\"")
{
    window_ = WaitForWindow(process_.Id(), "MyApp", 20000);
    if (window_ == nullptr)
        ADD_FAILURE() << "the main window did not appear";
}

InteractiveRun::~InteractiveRun()
{
    // Closed the way a user would, so that the program ends cleanly and gives up its atom.
    if (window_ != nullptr && process_.Running()) {
        PostMessageA(window_, WM_CLOSE, 0, 0);
        process_.WaitForExit(10000);
    }
}

// Delivers a command without waiting for its handler, then waits until the handler has either
// finished or opened a box (whose own message loop answers the second message), and answers the
// box if there is one.
static BoxView Deliver(DWORD processId, HWND window, WPARAM wParam, LPARAM lParam)
{
    SendNotifyMessageA(window, WM_COMMAND, wParam, lParam);
    DWORD_PTR result;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 15000, &result);
    BoxView box;
    if (FindWindowOf(processId, "#32770", false) == nullptr)
        return box;
    box = WaitForBox(processId, 5000);
    if (box.window != nullptr) {
        PressOk(box.window);
        for (int i = 0; i < 250 && IsWindow(box.window); ++i)
            Sleep(20);
    }
    return box;
}

BoxView InteractiveRun::Command(int id)
{
    return Deliver(process_.Id(), window_, MAKEWPARAM(id, 0), 0);
}

BoxView InteractiveRun::Save(const std::string &year, const std::string &month,
                             const std::string &day)
{
    SetText(Control(104), year);
    SetText(Control(105), month);
    SetText(Control(106), day);
    return Command(100);
}

BoxView InteractiveRun::DoubleClick(int listId, const std::string &entry)
{
    HWND list = Control(listId);
    const std::vector<std::string> entries = ListEntries(list);
    size_t index = 0;
    while (index < entries.size() && entries[index] != entry)
        ++index;
    if (index == entries.size()) {
        ADD_FAILURE() << "no entry [" << entry << "] in list " << listId;
        return BoxView();
    }
    SendMessageA(list, LB_SETCURSEL, index, 0);
    return Deliver(process_.Id(), window_, MAKEWPARAM(listId, LBN_DBLCLK),
                   reinterpret_cast<LPARAM>(list));
}

static std::vector<std::string> Names(const std::string &pattern, bool folders)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        if (((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folders && name != "."
            && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

static std::vector<std::string> Sorted(std::vector<std::string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

// The file and folder lists show `folder`: its programs; the files the platform matches with *.
// and its sub-folders in brackets, with [..] below a root.
::testing::AssertionResult ListsShow(InteractiveRun &run, const std::string &folder)
{
    std::vector<std::string> folders = Names(folder + "*.", false);
    for (const std::string &name : Names(folder + "*", true))
        folders.push_back("[" + name + "]");
    if (folder.size() > 3)
        folders.push_back("[..]");
    const std::vector<std::string> files = Sorted(ListEntries(run.Control(101)));
    const std::vector<std::string> shownFolders = Sorted(ListEntries(run.Control(102)));
    if (files != Sorted(Names(folder + "*.exe", false)) || shownFolders != Sorted(folders)) {
        std::string seen;
        for (const std::string &f : files)
            seen += f + " ";
        seen += "| ";
        for (const std::string &f : shownFolders)
            seen += f + " ";
        return ::testing::AssertionFailure() << "the lists do not show " << folder << ": " << seen;
    }
    return ::testing::AssertionSuccess();
}

// Makes a file or folder at a path of any length (the \\?\ form has no MAX_PATH limit).
static std::wstring LongForm(const std::string &path)
{
    const int size = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], size);
    wide.resize(wide.size() - 1);
    return L"\\\\?\\" + wide;
}

bool CopyLong(const std::string &from, const std::string &to)
{
    return CopyFileW(LongForm(from).c_str(), LongForm(to).c_str(), FALSE) != 0;
}

bool MakeLong(const std::string &path, bool folder)
{
    const std::wstring wide = LongForm(path);
    if (folder)
        return CreateDirectoryW(wide.c_str(), nullptr) != 0;
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written;
    WriteFile(file, "MZ", 2, &written, nullptr);
    CloseHandle(file);
    return true;
}

