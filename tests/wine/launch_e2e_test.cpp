// The real tempir.exe in launch mode, started with exact command lines and answered box by box.
#include <gtest/gtest.h>

#include "support.h"

namespace {

const char NowRunning[] = "Now running program";

std::string Quoted(const std::string &path)
{
    return "\"" + path + "\"";
}

class Launch : public TempiroTest {
protected:
    void SetUp() override
    {
        TempiroTest::SetUp();
        folder = FreshFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        app = folder + "app.exe";
        PlaceTestApp(app);
        exe = Quoted(TempiroExe());
    }

    // Answers the only box the run shows and returns the exit code (STILL_ACTIVE if it hangs).
    DWORD RunToSingleBox(StartedProcess &run, const char *caption, const std::string &text,
                         BoxIcon icon)
    {
        EXPECT_TRUE(AnswerBox(run.Id(), caption, text, icon));
        return run.WaitForExit(20000);
    }

    std::string folder;
    std::string app;
    std::string exe;
};

TEST_F(Launch, RunsTheApplicationAfterTheBoxAndEndsWithZero)
{
    const std::string file = folder + "a.tpr";
    WriteBytes(file, TodayRecord(app));
    StartedProcess run(exe + " " + file);

    const BoxView box = WaitForBox(run.Id());
    ASSERT_NE(nullptr, box.window);
    EXPECT_EQ(NowRunning, box.caption);
    EXPECT_EQ(app, box.text);
    EXPECT_EQ(BoxIcon::None, box.icon) << IconName(box.icon);
    EXPECT_TRUE(InstanceAtomPresent()) << "the atom is held while the box is shown";
    EXPECT_TRUE(TestAppLog(app).empty()) << "the application started before the box was dismissed";
    PressOk(box.window);

    EXPECT_EQ(0u, run.WaitForExit(20000));
    const std::vector<std::string> log = TestAppLog(app);
    ASSERT_EQ(2u, log.size());
    EXPECT_EQ(0u, log[0].find("started"));
    EXPECT_EQ(0u, log[1].find("ended"));
    EXPECT_FALSE(InstanceAtomPresent());
}

TEST_F(Launch, ReportsEachFailureOnceAndEndsWithItsCode)
{
    const SYSTEMTIME now = Today();
    std::string unterminated = TodayRecord(app);
    for (size_t i = 0; i < 270; ++i)
        unterminated[i] = 'A';
    CreateDirectoryA((folder + "folder.tpr").c_str(), nullptr);

    const char *const Unreadable = "Tempiro was unable to load the saved file";
    const char *const UnreadableCaption = "Invalid or corrupted file";
    const char *const Refused = "Tempiro was unable to set the date";
    const char *const RefusedCaption = "Corrupted TPR file";
    const struct {
        const char *name;
        std::string bytes; // written unless the name is left as it is
        bool write;
        const char *caption;
        const char *text;
        DWORD exitCode;
    } cases[] = {
        {"missing.tpr", "", false, UnreadableCaption, Unreadable, 1},
        {"folder.tpr", "", false, UnreadableCaption, Unreadable, 1},
        {"empty.tpr", "", true, UnreadableCaption, Unreadable, 1},
        {"short.tpr", TodayRecord(app).substr(0, 275), true, UnreadableCaption, Unreadable, 1},
        {"unterminated.tpr", unterminated, true, UnreadableCaption, Unreadable, 1},
        {"feb30.tpr", RecordBytes(app, 2000, 2, 30), true, RefusedCaption, Refused, 2},
        {"month13.tpr", RecordBytes(app, now.wYear, 13, now.wDay), true, RefusedCaption, Refused, 2},
        {"day0.tpr", RecordBytes(app, now.wYear, now.wMonth, 0), true, RefusedCaption, Refused, 2},
        {"year0.tpr", RecordBytes(app, 0, now.wMonth, now.wDay), true, RefusedCaption, Refused, 2},
        {"max.tpr", RecordBytes(app, 65535, 65535, 65535), true, RefusedCaption, Refused, 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.write)
            WriteBytes(folder + c.name, c.bytes);
        StartedProcess run(exe + " " + folder + c.name);
        EXPECT_EQ(c.exitCode, RunToSingleBox(run, c.caption, c.text, BoxIcon::Warning));
        EXPECT_FALSE(InstanceAtomPresent());
        ClearInstanceAtom();
    }
    EXPECT_TRUE(TestAppLog(app).empty()) << "the application was started";
}

TEST_F(Launch, MissingApplicationEndsWithThreeAndNoFurtherBox)
{
    const std::string missing = folder + "missing.exe";
    WriteBytes(folder + "a.tpr", TodayRecord(missing));
    StartedProcess run(exe + " " + folder + "a.tpr");
    EXPECT_EQ(3u, RunToSingleBox(run, NowRunning, missing, BoxIcon::None));
    EXPECT_FALSE(InstanceAtomPresent());
}

TEST_F(Launch, StopsWaitingForTheApplicationAfterTenSeconds)
{
    PlaceTestApp(app, 30000);
    WriteBytes(folder + "a.tpr", TodayRecord(app));
    StartedProcess run(exe + " " + folder + "a.tpr");
    const BoxView box = WaitForBox(run.Id());
    ASSERT_EQ(NowRunning, box.caption);
    const DWORD dismissed = GetTickCount();
    PressOk(box.window);

    ASSERT_EQ(0u, run.WaitForExit(40000));
    const DWORD waited = GetTickCount() - dismissed;
    EXPECT_GE(waited, 9900u) << "the launcher did not wait for the application";
    EXPECT_LT(waited, 29000u) << "the launcher waited for the application's end";
    const std::vector<std::string> log = TestAppLog(app);
    ASSERT_EQ(1u, log.size()) << "the application should still run";
    EXPECT_EQ(0u, log[0].find("started"));
    EXPECT_FALSE(InstanceAtomPresent());
}

TEST_F(Launch, SecondInstanceIsTurnedAwayWhileTheFirstHoldsTheAtom)
{
    WriteBytes(folder + "a.tpr", TodayRecord(app));
    const std::string line = exe + " " + folder + "a.tpr";
    StartedProcess first(line);
    const BoxView firstBox = WaitForBox(first.Id());
    ASSERT_EQ(NowRunning, firstBox.caption);

    for (const std::string &secondLine : {line, exe}) {
        SCOPED_TRACE(secondLine);
        StartedProcess second(secondLine);
        EXPECT_EQ(0u, RunToSingleBox(second, "Tempiro already in use.", "Please wait 10 seconds.",
                                     BoxIcon::Warning));
        EXPECT_TRUE(InstanceAtomPresent()) << "the second instance removed the first one's atom";
    }
    EXPECT_TRUE(TestAppLog(app).empty());

    PressOk(firstBox.window);
    EXPECT_EQ(0u, first.WaitForExit(20000));
    EXPECT_FALSE(InstanceAtomPresent());
}

TEST_F(Launch, InteractiveInstanceAlsoTurnsAwayASecondOne)
{
    StartedProcess first(exe);
    HWND window = WaitForWindow(first.Id(), "MyApp", 15000);
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(InstanceAtomPresent());

    StartedProcess second(exe + " " + folder + "a.tpr");
    EXPECT_EQ(0u, RunToSingleBox(second, "Tempiro already in use.", "Please wait 10 seconds.",
                                 BoxIcon::Warning));
    EXPECT_TRUE(InstanceAtomPresent());

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, first.WaitForExit(20000));
    EXPECT_FALSE(InstanceAtomPresent());
}

TEST_F(Launch, TakesTheTailOfTheCommandLineVerbatim)
{
    CreateDirectoryA((folder + "My Docs").c_str(), nullptr);
    const std::string file = folder + "a.tpr";
    const std::string spaced = folder + "My Docs\\a.tpr";
    WriteBytes(file, TodayRecord(app));
    WriteBytes(spaced, TodayRecord(app));

    enum Outcome { Runs, Unreadable, Interactive };
    const struct {
        const char *what;
        std::string line;
        Outcome outcome;
    } cases[] = {
        {"quoted name, no blank", exe + file, Runs},
        {"unquoted name", TempiroExe() + " " + file, Runs},
        {"tabs before the tail", exe + "\t \t" + file, Runs},
        {"inner blank kept", exe + " " + spaced, Runs},
        // The platform drops trailing blanks of a file name, so the file is found.
        {"two trailing blanks kept", exe + " " + file + "  ", Runs},
        {"quotes kept", exe + " " + Quoted(file), Unreadable},
        {"two quotes", exe + " \"\"", Unreadable},
        {"only blanks and tabs", exe + " \t \t ", Interactive},
        {"nothing", exe, Interactive},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        StartedProcess run(c.line);
        switch (c.outcome) {
        case Runs:
            EXPECT_EQ(0u, RunToSingleBox(run, NowRunning, app, BoxIcon::None));
            break;
        case Unreadable:
            EXPECT_EQ(1u, RunToSingleBox(run, "Invalid or corrupted file",
                                         "Tempiro was unable to load the saved file",
                                         BoxIcon::Warning));
            break;
        case Interactive: {
            HWND window = WaitForWindow(run.Id(), "MyApp", 15000);
            ASSERT_NE(nullptr, window);
            EXPECT_EQ(nullptr, FindBox(run.Id()));
            PostMessageA(window, WM_CLOSE, 0, 0);
            EXPECT_EQ(0u, run.WaitForExit(20000));
            break;
        }
        }
        EXPECT_FALSE(InstanceAtomPresent());
        ClearInstanceAtom();
    }
}

} // namespace
