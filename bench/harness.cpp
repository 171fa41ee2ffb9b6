// The benchmark's harness, run under Wine by scripts/bench. Each command times Tempiro and its
// baseline alternately (the order swapped every run, so that drift and order weigh on both
// alike), discards one warm-up run of each, and prints one line per measured run:
//   FIGURE SUBJECT RUN MILLISECONDS
//
//   window RUNS TEMPIR BASE_WINDOW
//       process start to the main window being visible
//   launch RUNS TEMPIR BASE_LAUNCHER QUICK_APP
//       process start (launch mode) to the "Now running program" box being visible ("box"), and
//       the application's exit to the launcher's exit ("exit")
//   bound RUNS TEMPIR BASE_LAUNCHER LONG_APP
//       the box's OK pressed to the launcher's exit, the application running on ("bound")
//   folder RUNS TEMPIR BASE_LISTS FOLDER FILES BUDGET_S CAP_S
//       the folder-list double-click on C:\FOLDER (FILES executables) until both lists are
//       filled ("folder:FILES"), for Tempiro, the baseline, and the baseline with the lists'
//       redrawing held during the fill ("held"). Fills this slow are bounded: a subject stops
//       after RUNS fills or BUDGET_S seconds of fills, and a fill is given up after CAP_S
//       seconds ("folder:FILES-over SUBJECT RUN CAP_MS"; the process is ended)
//
// Times come from the performance counter, which Wine keeps on one clock for every process.
// A window counts as shown once it is visible; the harness looks for it every millisecond.
// Exit code 0 when every run was measured, 1 when some failed (told on stderr), 2 on bad usage.
#include <windows.h>
#include <tlhelp32.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

const char BenchFolder[] = "C:\\tempiro-bench\\";
const char SettingsPath[] = "C:\\tempiro-bench\\run.tpr";
const char StampName[] = "TempiroBenchExitStamp";
const char BoxCaption[] = "Now running program";
const char InstanceAtom[] = "tempir";
const int FolderListId = 102;
const int FileListId = 101;
const DWORD StartTimeoutMs = 30000;

LONGLONG Frequency;

LONGLONG Now()
{
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

double Milliseconds(LONGLONG from, LONGLONG to)
{
    return static_cast<double>(to - from) * 1000.0 / static_cast<double>(Frequency);
}

struct Subject {
    const char *name = "";   // as printed: "tempir", "baseline", "held"
    std::string exe;         // its Windows path
    const char *window = ""; // the class of its main window
    bool isTempiro = false;
};

// A process started in a job of its own, so that it and whatever it starts can be ended.
struct Started {
    HANDLE job = nullptr;
    HANDLE process = nullptr;
    DWORD id = 0;
    LONGLONG at = 0; // the counter just before the start was asked for
};

void Report(const char *figure, const Subject &subject, int run, double ms)
{
    printf("%s %s %d %.3f\n", figure, subject.name, run, ms);
    fflush(stdout);
}

void Complain(const char *figure, const Subject &subject, const char *what)
{
    fprintf(stderr, "bench_harness: %s %s: %s\n", figure, subject.name, what);
    fflush(stderr);
}

// A leftover instance atom (from a killed run) would turn Tempiro's next start into the
// "Please wait" box.
void ClearInstanceAtom()
{
    for (int i = 0; i < 100; ++i) {
        const ATOM atom = GlobalFindAtomA(InstanceAtom);
        if (atom == 0)
            return;
        GlobalDeleteAtom(atom);
    }
}

bool Start(const std::string &commandLine, Started *started)
{
    started->job = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(started->job, JobObjectExtendedLimitInformation, &limits,
                            sizeof limits);

    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    started->at = Now();
    // Suspended until it is in the job, so that nothing it starts escapes the job.
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        nullptr, &startup, &info)) {
        fprintf(stderr, "bench_harness: cannot start [%s]: error %lu\n", commandLine.c_str(),
                GetLastError());
        CloseHandle(started->job);
        started->job = nullptr;
        return false;
    }
    AssignProcessToJobObject(started->job, info.hProcess);
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    started->process = info.hProcess;
    started->id = info.dwProcessId;
    return true;
}

// Ends, by their ids, the processes that `parentId` started and that still run (should the job
// not have taken them along), and waits for them.
void EndChildrenOf(DWORD parentId)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID != parentId || entry.th32ProcessID == parentId)
            continue;
        HANDLE child = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
        if (child == nullptr)
            continue;
        TerminateProcess(child, 1);
        WaitForSingleObject(child, 5000);
        CloseHandle(child);
    }
    CloseHandle(snapshot);
}

// Ends the process and everything in its job (a no-op when it has ended by itself).
void End(Started *started)
{
    if (started->job != nullptr) {
        TerminateJobObject(started->job, 1);
        CloseHandle(started->job);
    }
    if (started->process != nullptr) {
        WaitForSingleObject(started->process, 5000);
        EndChildrenOf(started->id);
        CloseHandle(started->process);
    }
    *started = Started();
}

bool HasEnded(const Started &started)
{
    return WaitForSingleObject(started.process, 0) == WAIT_OBJECT_0;
}

// The visible top-level window of `className` (and `title`, if given) that `processId` owns.
HWND VisibleWindowOf(DWORD processId, const char *className, const char *title)
{
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, className, title)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

// Looks every millisecond; NULL when the process ends or the time runs out first.
HWND WaitForVisible(const Started &started, const char *className, const char *title)
{
    const LONGLONG since = Now();
    for (;;) {
        HWND window = VisibleWindowOf(started.id, className, title);
        if (window != nullptr)
            return window;
        if (HasEnded(started) || Milliseconds(since, Now()) > StartTimeoutMs)
            return nullptr;
        Sleep(1);
    }
}

// Closes the window as a user would and waits for the process to end; ends it otherwise.
bool CloseAndWait(Started *started, HWND window)
{
    PostMessageA(window, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(started->process, 10000) == WAIT_OBJECT_0;
    End(started);
    return ended;
}

void PressOk(HWND box)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}

std::string Quoted(const std::string &path)
{
    return "\"" + path + "\"";
}

// Tempiro starts with an empty instance table: a killed earlier run must not leave its atom.
void BeforeStart(const Subject &subject)
{
    if (subject.isTempiro && GlobalFindAtomA(InstanceAtom) != 0) {
        Complain("setup", subject, "a leftover instance atom was deleted");
        ClearInstanceAtom();
    }
}

// After a run that had to be ended by force, its atom is deleted too.
void AfterForcedEnd(const Subject &subject)
{
    if (subject.isTempiro)
        ClearInstanceAtom();
}

// ---- process start to main window visible -------------------------------------------------

bool WindowRun(const Subject &subject, double *ms)
{
    BeforeStart(subject);
    Started started;
    if (!Start(Quoted(subject.exe), &started))
        return false;
    HWND window = WaitForVisible(started, subject.window, nullptr);
    const LONGLONG shown = Now();
    if (window == nullptr) {
        Complain("window", subject, "no visible main window");
        End(&started);
        AfterForcedEnd(subject);
        return false;
    }
    *ms = Milliseconds(started.at, shown);
    if (!CloseAndWait(&started, window)) {
        Complain("window", subject, "did not end after WM_CLOSE");
        AfterForcedEnd(subject);
        return false;
    }
    return true;
}

// ---- launch mode ---------------------------------------------------------------------------

// A settings file for `application` with today's date (the only date Wine's clock accepts),
// written before every run so that a run after midnight still holds today's.
bool WriteSettings(const std::string &application)
{
    unsigned char record[276] = {};
    if (application.size() >= 270)
        return false;
    memcpy(record, application.c_str(), application.size());
    SYSTEMTIME today;
    GetLocalTime(&today);
    const WORD values[3] = {today.wYear, today.wMonth, today.wDay};
    for (int i = 0; i < 3; ++i) {
        record[270 + 2 * i] = static_cast<unsigned char>(values[i] & 0xFF);
        record[271 + 2 * i] = static_cast<unsigned char>(values[i] >> 8);
    }
    HANDLE file = CreateFileA(SettingsPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    WriteFile(file, record, sizeof record, &written, nullptr);
    CloseHandle(file);
    return written == sizeof record;
}

std::string LaunchCommand(const Subject &subject, const std::string &application)
{
    // Tempiro gets the settings file as the shell's open command gives it; the baseline gets the
    // application itself.
    return Quoted(subject.exe) + " " + (subject.isTempiro ? std::string(SettingsPath) : application);
}

struct LaunchTimes {
    double toBox = 0;   // process start to the box visible
    double okToEnd = 0; // OK posted to the launcher's end
    double appToEnd = 0; // the application's last counter reading to the launcher's end
};

// One launch: start, wait for the box, press OK, wait for the launcher's end; then end whatever
// it started that still runs.
bool LaunchRun(const Subject &subject, const std::string &application, volatile LONGLONG *stamp,
               const char *figure, LaunchTimes *times)
{
    if (subject.isTempiro && !WriteSettings(application)) {
        Complain(figure, subject, "cannot write the settings file");
        return false;
    }
    *stamp = 0;
    BeforeStart(subject);
    Started started;
    if (!Start(LaunchCommand(subject, application), &started))
        return false;
    HWND box = WaitForVisible(started, "#32770", BoxCaption);
    const LONGLONG shown = Now();
    if (box == nullptr) {
        Complain(figure, subject, "no \"Now running program\" box");
        End(&started);
        AfterForcedEnd(subject);
        return false;
    }
    const LONGLONG pressed = Now();
    PressOk(box);
    const bool ended = WaitForSingleObject(started.process, 30000) == WAIT_OBJECT_0;
    const LONGLONG end = Now();
    DWORD code = 1;
    GetExitCodeProcess(started.process, &code);
    times->toBox = Milliseconds(started.at, shown);
    times->okToEnd = Milliseconds(pressed, end);
    times->appToEnd = *stamp != 0 ? Milliseconds(*stamp, end) : -1;
    End(&started);
    if (!ended) {
        Complain(figure, subject, "the launcher did not end");
        AfterForcedEnd(subject);
        return false;
    }
    if (code != 0) {
        char what[64];
        snprintf(what, sizeof what, "the launcher ended with code %lu", code);
        Complain(figure, subject, what);
        return false;
    }
    return true;
}

// ---- entering a folder ---------------------------------------------------------------------

std::string EntryText(HWND list, LRESULT index)
{
    // Asked in Unicode: Wine hands ANSI callers of another process Unicode text for some messages.
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0)
        return std::string();
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    std::string narrow;
    for (size_t i = 0; i < static_cast<size_t>(length) && text[i] != L'\0'; ++i)
        narrow += static_cast<char>(text[i] < 0x80 ? text[i] : '?');
    return narrow;
}

bool SelectEntry(HWND list, const std::string &entry)
{
    // Asked of the list itself first: reading 10,000 entries one by one from another process
    // takes seconds.
    const std::wstring wide(entry.begin(), entry.end());
    const LRESULT found = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(wide.c_str()));
    if (found != LB_ERR && lstrcmpiA(EntryText(list, found).c_str(), entry.c_str()) == 0) {
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
        return true;
    }
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (lstrcmpiA(EntryText(list, i).c_str(), entry.c_str()) == 0) {
            SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
            return true;
        }
    }
    return false;
}

// The double-click as the list sends it; returns when the window's handler has refilled both
// lists: the milliseconds it took, or -1 when it did not answer within `capMs`.
double DoubleClickFolderList(HWND window, DWORD capMs)
{
    HWND list = GetDlgItem(window, FolderListId);
    DWORD_PTR result;
    const LONGLONG before = Now();
    if (!SendMessageTimeoutA(window, WM_COMMAND, MAKEWPARAM(FolderListId, LBN_DBLCLK),
                             reinterpret_cast<LPARAM>(list), SMTO_NORMAL, capMs, &result))
        return -1;
    return Milliseconds(before, Now());
}

struct ListWindow {
    Subject subject;
    std::string commandLine;
    Started started;
    HWND window = nullptr;
    int runs = 0;          // measured so far
    double spentMs = 0;    // in measured fills
    bool done = false;
    bool entriesShown = false;
};

enum FillResult { FillMeasured, FillOverCap, FillFailed };

// Enters the folder (timed) and goes back to C:\ (not timed). Tempiro is steered by its own
// entries; the baselines alternate by themselves.
FillResult FolderRun(ListWindow *lists, const std::string &folder, LRESULT files, DWORD capMs,
                     double *ms)
{
    const Subject &subject = lists->subject;
    HWND folderList = GetDlgItem(lists->window, FolderListId);
    HWND fileList = GetDlgItem(lists->window, FileListId);
    if (subject.isTempiro && !SelectEntry(folderList, "[" + folder + "]")) {
        Complain("folder", subject, "the bench folder is not in the folder list");
        return FillFailed;
    }
    *ms = DoubleClickFolderList(lists->window, capMs);
    if (*ms < 0)
        return FillOverCap;
    const LRESULT filesListed = SendMessageW(fileList, LB_GETCOUNT, 0, 0);
    const LRESULT foldersListed = SendMessageW(folderList, LB_GETCOUNT, 0, 0);
    if (filesListed != files || foldersListed < 1000) {
        char what[128];
        snprintf(what, sizeof what, "entering listed %ld files and %ld folders",
                 static_cast<long>(filesListed), static_cast<long>(foldersListed));
        Complain("folder", subject, what);
        return FillFailed;
    }
    if (!lists->entriesShown) {
        // What the lists hold tells what each fill had to insert.
        printf("entries %s %ld %ld\n", subject.name, static_cast<long>(filesListed),
               static_cast<long>(foldersListed));
        fflush(stdout);
        lists->entriesShown = true;
    }
    if (subject.isTempiro && !SelectEntry(folderList, "[..]")) {
        Complain("folder", subject, "no [..] entry");
        return FillFailed;
    }
    return DoubleClickFolderList(lists->window, capMs) >= 0 ? FillMeasured : FillOverCap;
}

// Ends a subject's process, closing its window as a user would unless `force`d (a process busy
// in a fill answers nothing); its runs stop there.
void Retire(ListWindow *lists, bool force)
{
    lists->done = true;
    if (!force && lists->window != nullptr && CloseAndWait(&lists->started, lists->window))
        return;
    End(&lists->started);
    AfterForcedEnd(lists->subject);
}

// ---- commands ------------------------------------------------------------------------------

int TimeWindows(int runs, const Subject subjects[2])
{
    int failures = 0;
    for (int run = 0; run <= runs; ++run) { // run 0 warms up
        for (int k = 0; k < 2; ++k) {
            const Subject &subject = subjects[(run + k) % 2];
            double ms;
            if (!WindowRun(subject, &ms))
                ++failures;
            else if (run > 0)
                Report("window", subject, run, ms);
            Sleep(100); // lets Wine's own processes settle between runs
        }
    }
    return failures == 0 ? 0 : 1;
}

int TimeLaunches(int runs, const Subject subjects[2], const std::string &application, bool bound)
{
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        sizeof(LONGLONG), StampName);
    if (mapping == nullptr)
        return 1;
    volatile LONGLONG *stamp = static_cast<volatile LONGLONG *>(
        MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(LONGLONG)));
    if (stamp == nullptr)
        return 1;
    CreateDirectoryA(BenchFolder, nullptr);

    int failures = 0;
    for (int run = 0; run <= runs; ++run) { // run 0 warms up
        for (int k = 0; k < 2; ++k) {
            const Subject &subject = subjects[(run + k) % 2];
            LaunchTimes times;
            if (!LaunchRun(subject, application, stamp, bound ? "bound" : "launch", &times)) {
                ++failures;
            } else if (run > 0 && bound) {
                Report("bound", subject, run, times.okToEnd);
            } else if (run > 0) {
                Report("box", subject, run, times.toBox);
                if (times.appToEnd < 0) {
                    Complain("exit", subject, "the application left no counter reading");
                    ++failures;
                } else {
                    Report("exit", subject, run, times.appToEnd);
                }
            }
            Sleep(100);
        }
    }
    UnmapViewOfFile(const_cast<LONGLONG *>(stamp));
    CloseHandle(mapping);
    return failures == 0 ? 0 : 1;
}

// Fills that take longer than this are not moved by a warm-up: the first one counts.
const double SlowFillMs = 5000;

int TimeFolders(int runs, std::vector<ListWindow> &subjects, const std::string &folder,
                LRESULT files, double budgetMs, DWORD capMs)
{
    int failures = 0;
    for (ListWindow &lists : subjects) {
        BeforeStart(lists.subject);
        if (!Start(lists.commandLine, &lists.started)
            || (lists.window = WaitForVisible(lists.started, lists.subject.window, nullptr))
                   == nullptr) {
            Complain("folder", lists.subject, "no visible main window");
            ++failures;
            Retire(&lists, true);
        }
    }
    const std::string figure = "folder:" + std::to_string(files);
    printf("bounds %s %d %.0f %lu\n", figure.c_str(), runs, budgetMs,
           static_cast<unsigned long>(capMs));
    const size_t count = subjects.size();
    // Round 0 warms up. A subject stops after `runs` measured fills, or once its fills have
    // taken `budgetMs` in all, or at its first fill over `capMs` (its process is ended then).
    for (size_t round = 0;; ++round) {
        bool anyActive = false;
        for (size_t k = 0; k < count; ++k) {
            ListWindow &lists = subjects[(round + k) % count];
            if (lists.done)
                continue;
            double ms = 0;
            const FillResult result = FolderRun(&lists, folder, files, capMs, &ms);
            if (result == FillOverCap) {
                printf("%s-over %s %d %lu\n", figure.c_str(), lists.subject.name, lists.runs + 1,
                       static_cast<unsigned long>(capMs));
                fflush(stdout);
                Retire(&lists, true);
                continue;
            }
            if (result == FillFailed) {
                ++failures;
                Retire(&lists, true);
                continue;
            }
            if (round > 0 || ms > SlowFillMs) {
                ++lists.runs;
                lists.spentMs += ms;
                Report(figure.c_str(), lists.subject, lists.runs, ms);
            }
            if (lists.runs >= runs || lists.spentMs >= budgetMs)
                Retire(&lists, false);
            else
                anyActive = true;
        }
        if (!anyActive)
            break;
    }
    return failures == 0 ? 0 : 1;
}

int Usage()
{
    fprintf(stderr, "usage: bench_harness window|launch|bound|folder RUNS TEMPIR BASELINE ...\n"
                    "(see the head of harness.cpp)\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 5)
        return Usage();
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    Frequency = frequency.QuadPart;

    const std::string command = argv[1];
    const int runs = atoi(argv[2]);
    if (runs < 1)
        return Usage();
    const std::string tempir = argv[3];
    const std::string baseline = argv[4];

    if (command == "window" && argc == 5) {
        const Subject subjects[2] = {{"tempir", tempir, "MyApp", true},
                                     {"baseline", baseline, "TempiroBenchWindow", false}};
        return TimeWindows(runs, subjects);
    }
    if ((command == "launch" || command == "bound") && argc == 6) {
        const Subject subjects[2] = {{"tempir", tempir, "", true},
                                     {"baseline", baseline, "", false}};
        return TimeLaunches(runs, subjects, argv[5], command == "bound");
    }
    if (command == "folder" && argc == 9) {
        const std::string folder = argv[5];
        const std::string path = " C:\\" + folder + "\\";
        // The baselines are told the folder; Tempiro finds it in its folder list at C:\.
        std::vector<ListWindow> subjects(3);
        subjects[0].subject = {"tempir", tempir, "MyApp", true};
        subjects[0].commandLine = Quoted(tempir);
        subjects[1].subject = {"baseline", baseline, "TempiroBenchLists", false};
        subjects[1].commandLine = Quoted(baseline) + path;
        subjects[2].subject = {"held", baseline, "TempiroBenchLists", false};
        subjects[2].commandLine = Quoted(baseline) + " /held" + path;
        return TimeFolders(runs, subjects, folder, atol(argv[6]), atof(argv[7]) * 1000.0,
                           static_cast<DWORD>(atof(argv[8]) * 1000.0));
    }
    return Usage();
}
