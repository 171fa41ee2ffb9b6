// The real tempir.exe against bad settings files and against long and odd names.
#include <gtest/gtest.h>

#include <random>

#include "support.h"

namespace {

const char Unreadable[] = "Invalid or corrupted file";
const char Refused[] = "Corrupted TPR file";
const char NowRunning[] = "Now running program";

struct BadFile {
    std::string what;
    std::string bytes;
};

// 64 settings files from a fixed seed: random bytes, valid records with flipped bytes, paths
// without terminator, impossible dates, and valid records cut short or carrying a tail.
std::vector<BadFile> BadFiles(const std::string &app)
{
    std::mt19937 random(20261211u);
    auto byte = [&random]() { return static_cast<char>(random() & 0xFF); };
    const std::string valid = TodayRecord(app);
    const SYSTEMTIME now = Today();
    std::vector<BadFile> files;

    for (int i = 0; i < 16; ++i) {
        std::string bytes(random() % 601, '\0');
        for (char &c : bytes)
            c = byte();
        files.push_back({"random bytes #" + std::to_string(i), bytes});
    }
    for (int i = 0; i < 12; ++i) {
        std::string bytes = valid;
        const int flips = 1 + static_cast<int>(random() % 3);
        for (int f = 0; f < flips; ++f)
            bytes[random() % bytes.size()] ^= static_cast<char>(1u << (random() % 8));
        files.push_back({"flipped record #" + std::to_string(i), bytes});
    }
    for (int i = 0; i < 8; ++i) {
        std::string bytes = valid;
        for (size_t k = 0; k < 270; ++k) {
            char c = byte();
            bytes[k] = c != '\0' ? c : 'x';
        }
        files.push_back({"path without terminator #" + std::to_string(i), bytes});
    }
    const unsigned odd[] = {0, 13, 65535};
    for (unsigned value : odd) {
        files.push_back({"year " + std::to_string(value), RecordBytes(app, value, now.wMonth, now.wDay)});
        files.push_back({"month " + std::to_string(value), RecordBytes(app, now.wYear, value, now.wDay)});
        files.push_back({"day " + std::to_string(value), RecordBytes(app, now.wYear, now.wMonth, value)});
        files.push_back({"all " + std::to_string(value), RecordBytes(app, value, value, value)});
    }
    for (int i = 0; i < 8; ++i)
        files.push_back({"cut short #" + std::to_string(i), valid.substr(0, random() % 276)});
    for (int i = 0; i < 8; ++i) {
        std::string bytes = valid;
        bytes.resize(277 + random() % 324);
        for (size_t k = 276; k < bytes.size(); ++k)
            bytes[k] = byte();
        files.push_back({"with a tail #" + std::to_string(i), bytes});
    }
    return files;
}

// The path as the launcher shows it: the record's text up to its first zero.
std::string StoredPath(const std::string &bytes)
{
    const std::string field = bytes.substr(0, 270);
    return field.substr(0, field.find('\0'));
}

class Robustness : public TempiroTest {};

TEST_F(Robustness, EveryBadSettingsFileEndsInOneBoxAndAKnownCode)
{
    const std::string folder = FreshFolder("robustness");
    const std::string app = folder + "app.exe";
    PlaceTestApp(app);
    const std::vector<BadFile> files = BadFiles(app);
    ASSERT_GE(files.size(), 60u);
    for (size_t i = 0; i < files.size(); ++i) {
        const BadFile &file = files[i];
        SCOPED_TRACE(file.what);
        const std::string name = folder + "bad" + std::to_string(i) + ".tpr";
        WriteBytes(name, file.bytes);
        StartedProcess run("\"" + TempiroExe() + "\" " + name);
        const BoxView box = WaitForBox(run.Id());
        ASSERT_NE(nullptr, box.window) << "no box";
        PressOk(box.window);

        // The one box a launch can show, each with its code.
        DWORD expected[2] = {0, 0};
        if (box.caption == Unreadable) {
            EXPECT_EQ("Tempiro was unable to load the saved file", box.text);
            EXPECT_EQ(BoxIcon::Warning, box.icon) << IconName(box.icon);
            expected[0] = expected[1] = 1;
        } else if (box.caption == Refused) {
            EXPECT_EQ("Tempiro was unable to set the date", box.text);
            EXPECT_EQ(BoxIcon::Warning, box.icon) << IconName(box.icon);
            expected[0] = expected[1] = 2;
        } else if (box.caption == NowRunning) {
            EXPECT_EQ(StoredPath(file.bytes), box.text);
            EXPECT_EQ(BoxIcon::None, box.icon) << IconName(box.icon);
            expected[0] = 0; // started (our test application, whose path survived)
            expected[1] = 3; // not started
        } else {
            ADD_FAILURE() << "unexpected box [" << box.caption << "] [" << box.text << "]";
        }

        // No second box, no crash, no hang.
        DWORD code = STILL_ACTIVE;
        for (int wait = 0; wait < 200 && code == STILL_ACTIVE; ++wait) {
            code = run.WaitForExit(100);
            HWND another = FindBox(run.Id());
            if (another != nullptr && another != box.window) {
                ADD_FAILURE() << "a second box: " << ReadBox(another).caption;
                PressOk(another);
            }
        }
        EXPECT_TRUE(code == expected[0] || code == expected[1]) << "exit code " << code;
        EXPECT_FALSE(InstanceAtomPresent());
        ClearInstanceAtom();
    }
}

// A name in the ANSI code page from `wide`, or empty when the code page cannot spell it.
std::string AnsiName(const wchar_t *wide)
{
    BOOL lost = FALSE;
    char name[MAX_PATH];
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, name,
                                           sizeof name, nullptr, &lost);
    return length > 0 && !lost ? std::string(name) : std::string();
}

class OddNames : public TempiroTest {
protected:
    // Selects `program` in the folder the window shows, saves today's date and returns the box.
    BoxView SelectAndSave(InteractiveRun &run, const std::string &program)
    {
        const BoxView selected = run.DoubleClick(101, program);
        EXPECT_EQ("Application properly selected", selected.caption) << selected.text;
        const SYSTEMTIME now = Today();
        return run.Save(std::to_string(now.wYear), std::to_string(now.wMonth),
                        std::to_string(now.wDay));
    }

    // Opens `settings` in launch mode and expects `program` to run from it.
    void Launch(const std::string &settings, const std::string &program)
    {
        StartedProcess launch("\"" + TempiroExe() + "\" " + settings);
        EXPECT_TRUE(AnswerBox(launch.Id(), NowRunning, program, BoxIcon::None));
        EXPECT_EQ(0u, launch.WaitForExit(20000));
    }
};

TEST_F(OddNames, LongBlankBracketedAndAccentedNamesGoThroughEndToEnd)
{
    const std::string accented = AnsiName(L"Spiel (1) [\u00fc] \u00f1");
    if (accented.empty()) {
        GTEST_SKIP() << "the ANSI code page " << GetACP() << " has no u-umlaut or n-tilde";
    }
    const std::string base = FreshFolder("odd");
    const std::string longFolder = std::string(200, 'F');
    const std::string oddFolder = AnsiName(L"[x] y \u00e9");
    const std::string longProgram = std::string(196, 'P') + ".exe";
    ASSERT_EQ(200u, longProgram.size());
    const std::string oddProgram = accented + ".exe";
    ASSERT_TRUE(MakeLong(base + longFolder, true));
    ASSERT_TRUE(MakeLong(base + oddFolder, true));
    const struct {
        std::string folder;    // below base, as the folder list names it
        std::string program;   // its file name
    } cases[] = {
        {"", longProgram},
        {longFolder, "run.exe"},
        {oddFolder, oddProgram},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.folder + "\\" + c.program);
        const std::string folder = base + (c.folder.empty() ? "" : c.folder + "\\");
        const std::string program = folder + c.program;
        PlaceTestApp(program);

        const std::string settings = c.program.substr(0, c.program.size() - 3) + "tpr";
        {
            InteractiveRun run;
            ASSERT_NE(nullptr, run.Window());
            std::vector<std::string> entries = {"[tempiro-tests]", "[odd]"};
            if (!c.folder.empty())
                entries.push_back("[" + c.folder + "]");
            for (const std::string &entry : entries) {
                EXPECT_EQ(nullptr, run.DoubleClick(102, entry).window) << entry;
            }
            EXPECT_TRUE(ListsShow(run, folder));
            EXPECT_EQ(settings, SelectAndSave(run, c.program).text);
        }
        EXPECT_EQ(TodayRecord(program), ReadBytes(folder + settings));
        Launch(folder + settings, program);
        EXPECT_EQ(2u, TestAppLog(program).size());
    }
}

TEST_F(OddNames, ProgramPathsOf269And270Characters)
{
    // 269 characters is the longest path a settings file holds; 270 leaves no room for its end.
    std::string folder = FreshFolder("edge");
    while (folder.size() < 240) {
        folder += std::string(std::min<size_t>(20, 240 - folder.size()), 'e') + "\\";
        ASSERT_TRUE(MakeLong(folder, true));
    }
    const std::string fits = folder + std::string(269 - folder.size() - 4, 'f') + ".exe";
    const std::string tooLong = folder + std::string(270 - folder.size() - 4, 'g') + ".exe";
    ASSERT_EQ(269u, fits.size());
    ASSERT_EQ(270u, tooLong.size());
    ASSERT_TRUE(CopyLong(TestAppExe(), fits));
    ASSERT_TRUE(CopyLong(TestAppExe(), tooLong));

    // The longest is stored whole and shown whole by the launcher. Whether the platform then
    // starts it is its own affair: the ANSI start of a program stops at MAX_PATH under Wine (3).
    WriteBytes(folder.substr(0, 20) + "fits.tpr", TodayRecord(fits));
    StartedProcess launch("\"" + TempiroExe() + "\" " + folder.substr(0, 20) + "fits.tpr");
    EXPECT_TRUE(AnswerBox(launch.Id(), NowRunning, fits, BoxIcon::None));
    const DWORD code = launch.WaitForExit(20000);
    EXPECT_TRUE(code == 0 || code == 3) << code;

    // 270 characters cannot be stored with their terminator: such a record is refused whole.
    std::string record = TodayRecord("");
    record.replace(0, 270, tooLong);
    WriteBytes(folder.substr(0, 20) + "toolong.tpr", record);
    StartedProcess refused("\"" + TempiroExe() + "\" " + folder.substr(0, 20) + "toolong.tpr");
    EXPECT_TRUE(AnswerBox(refused.Id(), Unreadable, "Tempiro was unable to load the saved file",
                          BoxIcon::Warning));
    EXPECT_EQ(1u, refused.WaitForExit(20000));
}

} // namespace
