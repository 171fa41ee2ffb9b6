// Helpers of the Wine tests: files and folders under the prefix's C:, settings records built
// byte by byte, processes started with exact command lines inside a job, and message boxes found,
// read and answered from outside.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// "/x/y" (a Unix path, as CMake passes it) as Wine's Z:\x\y; Windows paths stay as they are.
std::string WindowsPath(const std::string &path);

// The Windows path of the program under test and of the test application (from the environment).
std::string TempiroExe();
std::string TestAppExe();

// The folder behind the tests' drive Q: (made and removed by the tests, like a medium).
std::string RemovableFolder();

// A fresh, empty folder C:\tempiro-tests\<name>\ (with the trailing backslash).
std::string FreshFolder(const std::string &name);
void RemoveTree(const std::string &path);

void WriteBytes(const std::string &path, const std::string &bytes);
// A file ("MZ") or folder at a path of any length (the \\?\ form has no MAX_PATH limit).
bool MakeLong(const std::string &path, bool folder);
// CopyFile for paths of any length.
bool CopyLong(const std::string &from, const std::string &to);
// The whole file; `exists` (if given) says whether it could be opened.
std::string ReadBytes(const std::string &path, bool *exists = nullptr);
bool FileExists(const std::string &path);

// A settings record, built here byte by byte rather than with the program's encoder.
std::string RecordBytes(const std::string &path, unsigned year, unsigned month, unsigned day);
SYSTEMTIME Today();
std::string TodayRecord(const std::string &path);

// A copy of the test application at `path`, which on start appends a line to `path`.log and
// sleeps `sleepMs` before it ends (it reads the time from `path`.cfg).
void PlaceTestApp(const std::string &path, DWORD sleepMs = 0);
// The lines the test application wrote, empty when it never ran.
std::vector<std::string> TestAppLog(const std::string &path);

// A process started with an exact command line in a job of its own: the job, and so the process
// and everything it starts, is ended when this object goes, whatever the test's outcome.
class StartedProcess {
public:
    explicit StartedProcess(const std::string &commandLine, const char *currentFolder = nullptr,
                            HANDLE standardError = nullptr);
    // Takes over a process started by other means (the shell, say).
    explicit StartedProcess(HANDLE process);
    ~StartedProcess();
    StartedProcess(const StartedProcess &) = delete;
    StartedProcess &operator=(const StartedProcess &) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_; }
    // The exit code, or STILL_ACTIVE when the process still runs after `timeoutMs`.
    DWORD WaitForExit(DWORD timeoutMs);
    bool Running();

private:
    void MakeJob();

    HANDLE job_ = nullptr;
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

enum class BoxIcon { None, Warning, Error, Information, Question, Unknown };
const char *IconName(BoxIcon icon);

struct BoxView {
    HWND window = nullptr;
    std::string caption;
    std::string text;
    BoxIcon icon = BoxIcon::Unknown;
};

// The first visible top-level window of class `className` that belongs to `processId`, waiting
// at most `timeoutMs`; NULL when none appears.
HWND WaitForWindow(DWORD processId, const char *className, DWORD timeoutMs);
// A top-level window of `processId` and class `className` (only a visible one if `visible`).
HWND FindWindowOf(DWORD processId, const char *className, bool visible);
// Any visible message box of `processId`, without waiting.
HWND FindBox(DWORD processId);
// Waits for a message box of the process and reads it; window NULL when none appears.
BoxView WaitForBox(DWORD processId, DWORD timeoutMs = 15000);
BoxView ReadBox(HWND box);
// Presses the box's OK button.
void PressOk(HWND box);
// Waits for a box, checks its caption, text and icon, and presses OK. Returns whether it matched.
::testing::AssertionResult AnswerBox(DWORD processId, const std::string &caption,
                                     const std::string &text, BoxIcon icon);

std::string WindowText(HWND window);
std::string ClassOf(HWND window);

// The text of a window of any process.
void SetText(HWND window, const std::string &text);
// The entries of a list box of any process, in its order.
std::vector<std::string> ListEntries(HWND list);

// tempir.exe started in interactive mode, its main window found.
class InteractiveRun {
public:
    InteractiveRun();
    ~InteractiveRun();
    HWND Window() const { return window_; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    DWORD Id() const { return process_.Id(); }
    StartedProcess &Process() { return process_; }
    // Types the three fields and chooses Save; returns the box it showed, answered.
    BoxView Save(const std::string &year, const std::string &month, const std::string &day);
    // Sends a command as the menu would, and returns the box it showed (answered), if any.
    BoxView Command(int id);
    // Double-clicks the entry `entry` of list `listId`; returns the box shown, if any, answered.
    BoxView DoubleClick(int listId, const std::string &entry);

private:
    StartedProcess process_;
    HWND window_ = nullptr;
};

// The file and folder lists of `run` show `folder`: its programs; the files the platform matches
// with *. and its sub-folders in brackets, with [..] below a root.
::testing::AssertionResult ListsShow(InteractiveRun &run, const std::string &folder);

// The instance atom "tempir" in Wine's global table.
bool InstanceAtomPresent();
// Deletes a leftover atom (after a failed test) so that later tests start clean.
void ClearInstanceAtom();

// A test of the real program: fails when the atom outlives the test and removes it.
class TempiroTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};
