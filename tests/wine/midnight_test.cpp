// A launch across midnight, run by near-midnight with Wine's clock started just before it.
// Wine refuses to set any date but today's and says so on the program's error output, so a
// launcher that put back the date it read before midnight would leave that line.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include "launch/date_math.h"
#include "support.h"

namespace {

const char Refusal[] = "NtSetSystemTime not allowed";

std::string DateText(WORD y, WORD m, WORD d)
{
    char text[16];
    snprintf(text, sizeof text, "%04u-%02u-%02u", y, m, d);
    return text;
}

// What Wine wrote to the run's error output since the last call.
std::string NewErrors()
{
    static size_t seen = 0;
    const char *path = getenv("TEMPIRO_WINE_ERRORS");
    if (path == nullptr) {
        ADD_FAILURE() << "TEMPIRO_WINE_ERRORS is not set";
        return std::string();
    }
    const std::string all = ReadBytes(WindowsPath(path));
    const std::string fresh = all.size() > seen ? all.substr(seen) : std::string();
    seen = all.size();
    return fresh;
}

class NearMidnight : public TempiroTest {
protected:
    void SetUp() override
    {
        const char *mode = getenv("TEMPIRO_NEAR_MIDNIGHT");
        if (mode == nullptr)
            GTEST_SKIP() << "runs only under near-midnight, which starts the clock before midnight";
        yearEnd = strcmp(mode, "year") == 0;
        TempiroTest::SetUp();
        folder = FreshFolder("near-midnight");
    }

    // Runs tempir.exe on `record`, answering its one box; `errors` receives what Wine said meanwhile.
    DWORD Run(const std::string &record, const std::string &caption, std::string *errors)
    {
        WriteBytes(folder + "a.tpr", record);
        NewErrors();
        StartedProcess run("\"" + TempiroExe() + "\" " + folder + "a.tpr");
        const BoxView box = WaitForBox(run.Id());
        EXPECT_EQ(caption, box.caption);
        if (box.window != nullptr)
            PressOk(box.window);
        const DWORD exitCode = run.WaitForExit(40000);
        *errors = NewErrors();
        return exitCode;
    }

    bool yearEnd = false;
    std::string folder;
};

TEST_F(NearMidnight, PutsBackTheNewDayWhenTheApplicationEndsAfterMidnight)
{
    const SYSTEMTIME start = Today();
    const uint32_t startTime =
        MillisecondsOfDay(start.wHour, start.wMinute, start.wSecond, start.wMilliseconds);
    ASSERT_GE(startTime, MillisecondsOfDay(23, 59, 30, 0)) << "the clock is not near midnight";
    ASSERT_LE(startTime, MillisecondsOfDay(23, 59, 57, 0)) << "too close to midnight to start";
    if (yearEnd) {
        ASSERT_TRUE(start.wMonth == 12 && start.wDay == 31) << "the clock is not at a year's end";
    }

    const CalendarDate today = {start.wYear, start.wMonth, start.wDay};
    const CalendarDate tomorrow = AddDays(today, 1);
    const std::string app = folder + "app.exe";
    // The application runs until three seconds past midnight.
    PlaceTestApp(app, MillisecondsPerDay - startTime + 3000);

    std::string errors;
    EXPECT_EQ(0u, Run(TodayRecord(app), "Now running program", &errors));

    const std::vector<std::string> log = TestAppLog(app);
    ASSERT_EQ(2u, log.size());
    EXPECT_NE(std::string::npos, log[0].find("started " + DateText(today.year, today.month, today.day)))
        << log[0];
    EXPECT_NE(std::string::npos,
              log[1].find("ended " + DateText(tomorrow.year, tomorrow.month, tomorrow.day)))
        << log[1];
    EXPECT_EQ(std::string::npos, errors.find(Refusal)) << "a wrong date was put back:\n" << errors;

    // The same error output does show a refused date: one day off, now that the day is new.
    EXPECT_EQ(2u, Run(RecordBytes(app, today.year, today.month, today.day), "Corrupted TPR file",
                      &errors));
    EXPECT_NE(std::string::npos, errors.find(Refusal)) << errors;
}

} // namespace
