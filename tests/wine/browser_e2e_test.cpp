// The browser of the real tempir.exe, driven through its lists on folders made for the test.
#include <gtest/gtest.h>

#include <algorithm>

#include "support.h"

namespace {

const char Root[] = "C:\\tempiro-tests\\browser\\";

std::string Repeat(char c, size_t n)
{
    return std::string(n, c);
}

class Browser : public TempiroTest {
protected:
    void SetUp() override
    {
        TempiroTest::SetUp();
        FreshFolder("browser");
        CreateDirectoryA((std::string(Root) + "A").c_str(), nullptr);
        CreateDirectoryA((std::string(Root) + "A\\B").c_str(), nullptr);
        WriteBytes(std::string(Root) + "GAME.EXE", "MZ");
        WriteBytes(std::string(Root) + "tool.exe", "MZ");
        WriteBytes(std::string(Root) + "README", "text");
        WriteBytes(std::string(Root) + "notes.txt", "text");
        WriteBytes(std::string(Root) + "A\\B\\inner.exe", "MZ");
    }

    // Double-clicks each folder entry in turn; none may show a box.
    void Enter(InteractiveRun &run, std::initializer_list<const char *> entries)
    {
        for (const char *entry : entries) {
            const BoxView box = run.DoubleClick(102, entry);
            EXPECT_EQ(nullptr, box.window) << entry << ": [" << box.caption << "] " << box.text;
        }
    }
};

TEST_F(Browser, EntersAndLeavesNestedFolders)
{
    InteractiveRun run;
    ASSERT_NE(nullptr, run.Window());
    EXPECT_TRUE(ListsShow(run, "C:\\"));
    const struct {
        const char *entry;
        std::string folder;
    } steps[] = {
        {"[tempiro-tests]", "C:\\tempiro-tests\\"},
        {"[browser]", Root},
        {"[A]", std::string(Root) + "A\\"},
        {"[B]", std::string(Root) + "A\\B\\"},
        {"[..]", std::string(Root) + "A\\"},
        {"[..]", Root},
        {"[..]", "C:\\tempiro-tests\\"},
        {"[..]", "C:\\"},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.folder);
        Enter(run, {step.entry});
        EXPECT_TRUE(ListsShow(run, step.folder));
    }
}

TEST_F(Browser, AFileInTheFolderListIsNotAFolder)
{
    InteractiveRun run;
    ASSERT_NE(nullptr, run.Window());
    Enter(run, {"[tempiro-tests]", "[browser]"});
    const BoxView box = run.DoubleClick(102, "README");
    EXPECT_EQ("Invalid directory", box.caption);
    EXPECT_EQ("This is not a directory.", box.text);
    EXPECT_EQ(BoxIcon::Warning, box.icon) << IconName(box.icon);
    EXPECT_TRUE(ListsShow(run, Root));
}

TEST_F(Browser, ADriveThatCannotBeReadLeavesTheListsAsTheyWere)
{
    const std::string medium = RemovableFolder();
    RemoveTree(medium);
    ASSERT_TRUE(CreateDirectoryA(medium.c_str(), nullptr)) << medium;
    InteractiveRun run;
    ASSERT_NE(nullptr, run.Window());
    const std::vector<std::string> drives = ListEntries(run.Control(103));
    ASSERT_NE(drives.end(), std::find(drives.begin(), drives.end(), "[-q-]"));
    Enter(run, {"[tempiro-tests]", "[browser]"});

    // The medium is taken out after the drive was listed.
    RemoveTree(medium);
    const BoxView box = run.DoubleClick(103, "[-q-]");
    EXPECT_EQ("Error reading from drive", box.caption);
    EXPECT_EQ("This drive is not accessible.", box.text);
    EXPECT_EQ(BoxIcon::Warning, box.icon) << IconName(box.icon);
    EXPECT_TRUE(ListsShow(run, Root));

    // Put back, it is browsed from its root.
    ASSERT_TRUE(CreateDirectoryA(medium.c_str(), nullptr));
    WriteBytes(medium + "disk.exe", "MZ");
    EXPECT_EQ(nullptr, run.DoubleClick(103, "[-q-]").window);
    EXPECT_EQ(std::vector<std::string>{"disk.exe"}, ListEntries(run.Control(101)));
    EXPECT_TRUE(ListsShow(run, "q:\\"));
    Enter(run, {});
    RemoveTree(medium);
}

TEST_F(Browser, SavesTheSelectionIntoTheFolderBrowsedAtSave)
{
    InteractiveRun run;
    ASSERT_NE(nullptr, run.Window());
    Enter(run, {"[tempiro-tests]", "[browser]"});
    const std::string game = std::string(Root) + "GAME.EXE";
    BoxView box = run.DoubleClick(101, "GAME.EXE");
    EXPECT_EQ("Application properly selected", box.caption);
    EXPECT_EQ(game, box.text);
    EXPECT_EQ(BoxIcon::None, box.icon) << IconName(box.icon);

    Enter(run, {"[A]"});
    const SYSTEMTIME now = Today();
    box = run.Save(std::to_string(now.wYear), std::to_string(now.wMonth), std::to_string(now.wDay));
    EXPECT_EQ("Info has been saved", box.caption);
    EXPECT_EQ("GAME.tpr", box.text);
    EXPECT_EQ(BoxIcon::None, box.icon) << IconName(box.icon);
    EXPECT_EQ(TodayRecord(game), ReadBytes(std::string(Root) + "A\\GAME.tpr"));
    EXPECT_FALSE(FileExists(std::string(Root) + "GAME.tpr"));
}

TEST_F(Browser, AShorterSelectionAfterALongerOneReadsBackWhole)
{
    // 40 characters, then 10.
    const std::string longer = std::string(Root) + "LONGNAME123.EXE";
    ASSERT_EQ(40u, longer.size());
    WriteBytes(longer, "MZ");
    const std::string shorter = "C:\\T10.EXE";
    PlaceTestApp(shorter);
    DeleteFileA("C:\\T10.tpr");

    {
        InteractiveRun run;
        ASSERT_NE(nullptr, run.Window());
        Enter(run, {"[tempiro-tests]", "[browser]"});
        EXPECT_EQ(longer, run.DoubleClick(101, "LONGNAME123.EXE").text);
        Enter(run, {"[..]", "[..]"});
        EXPECT_EQ(shorter, run.DoubleClick(101, "T10.EXE").text);
        const SYSTEMTIME now = Today();
        EXPECT_EQ("T10.tpr", run.Save(std::to_string(now.wYear), std::to_string(now.wMonth),
                                      std::to_string(now.wDay))
                                 .text);
    }
    // The rest of the longer path stays behind the shorter one's terminator.
    std::string expected = TodayRecord(longer);
    expected.replace(0, shorter.size() + 1, shorter + '\0');
    EXPECT_EQ(expected, ReadBytes("C:\\T10.tpr"));

    // And the launcher reads it as the shorter path.
    StartedProcess launch("\"" + TempiroExe() + "\" C:\\T10.tpr");
    EXPECT_TRUE(AnswerBox(launch.Id(), "Now running program", shorter, BoxIcon::None));
    EXPECT_EQ(0u, launch.WaitForExit(20000));
    for (const char *file : {"C:\\T10.EXE", "C:\\T10.EXE.cfg", "C:\\T10.EXE.log", "C:\\T10.tpr"})
        DeleteFileA(file);
}

TEST_F(Browser, AnExecutableWithALongNameGivesItsWholeNameToTheSettingsFile)
{
    const std::string name = Repeat('N', 41) + ".exe";
    ASSERT_EQ(45u, name.size());
    WriteBytes(std::string(Root) + name, "MZ");
    InteractiveRun run;
    ASSERT_NE(nullptr, run.Window());
    Enter(run, {"[tempiro-tests]", "[browser]"});
    EXPECT_EQ(std::string(Root) + name, run.DoubleClick(101, name).text);
    const SYSTEMTIME now = Today();
    const BoxView box =
        run.Save(std::to_string(now.wYear), std::to_string(now.wMonth), std::to_string(now.wDay));
    EXPECT_EQ(Repeat('N', 41) + ".tpr", box.text);
    EXPECT_EQ(TodayRecord(std::string(Root) + name),
              ReadBytes(std::string(Root) + Repeat('N', 41) + ".tpr"));
}

TEST_F(Browser, FoldersAndPathsStopAtWhatTheyCanHold)
{
    // Nine levels of 23-character folders take the folder to 246 characters; a tenth would need
    // 270, more than the 255 a folder may have.
    std::string folder = "C:\\tempiro-tests\\browser\\deep\\";
    ASSERT_TRUE(MakeLong(folder, true));
    std::vector<std::string> levels;
    for (int i = 0; i < 10; ++i) {
        levels.push_back(std::string(1, static_cast<char>('a' + i)) + Repeat('d', 22));
        folder += levels.back() + "\\";
        ASSERT_TRUE(MakeLong(folder, true)) << folder.size();
    }
    const std::string ninth = folder.substr(0, folder.size() - 24);
    ASSERT_EQ(246u, ninth.size());
    // Programs whose full paths are 269 and 270 characters long.
    const std::string fits = Repeat('p', 19) + ".exe";
    const std::string tooLong = Repeat('q', 20) + ".exe";
    ASSERT_TRUE(MakeLong(ninth + fits, false));
    ASSERT_TRUE(MakeLong(ninth + tooLong, false));
    ASSERT_EQ(269u, (ninth + fits).size());
    ASSERT_EQ(270u, (ninth + tooLong).size());

    InteractiveRun run;
    ASSERT_NE(nullptr, run.Window());
    Enter(run, {"[tempiro-tests]", "[browser]", "[deep]"});
    for (int i = 0; i < 9; ++i)
        Enter(run, {("[" + levels[static_cast<size_t>(i)] + "]").c_str()});
    EXPECT_TRUE(ListsShow(run, ninth));

    BoxView box = run.DoubleClick(102, "[" + levels[9] + "]");
    EXPECT_EQ("Invalid directory", box.caption);
    EXPECT_EQ("The folder name is too long.", box.text);
    EXPECT_EQ(BoxIcon::Warning, box.icon) << IconName(box.icon);
    EXPECT_TRUE(ListsShow(run, ninth));

    box = run.DoubleClick(101, fits);
    EXPECT_EQ("Application properly selected", box.caption);
    EXPECT_EQ(ninth + fits, box.text);
    box = run.DoubleClick(101, tooLong);
    EXPECT_EQ("Application not selected", box.caption);
    EXPECT_EQ("The application path is too long.", box.text);
    EXPECT_EQ(BoxIcon::Warning, box.icon) << IconName(box.icon);

    // The earlier selection stands: Save writes it (the folder is short enough for its name).
    Enter(run, {"[..]", "[..]", "[..]", "[..]", "[..]", "[..]", "[..]", "[..]", "[..]"});
    const SYSTEMTIME now = Today();
    box = run.Save(std::to_string(now.wYear), std::to_string(now.wMonth), std::to_string(now.wDay));
    EXPECT_EQ(Repeat('p', 19) + ".tpr", box.text);
    EXPECT_EQ(TodayRecord(ninth + fits),
              ReadBytes("C:\\tempiro-tests\\browser\\deep\\" + Repeat('p', 19) + ".tpr"));
}

TEST_F(Browser, AReadOnlySettingsFileIsLeftAsItWas)
{
    const std::string settings = std::string(Root) + "GAME.tpr";
    const std::string old = RecordBytes("C:\\OLD.EXE", 1999, 10, 26);
    WriteBytes(settings, old);
    SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_READONLY);
    InteractiveRun run;
    ASSERT_NE(nullptr, run.Window());
    Enter(run, {"[tempiro-tests]", "[browser]"});
    run.DoubleClick(101, "GAME.EXE");
    const SYSTEMTIME now = Today();
    const BoxView box =
        run.Save(std::to_string(now.wYear), std::to_string(now.wMonth), std::to_string(now.wDay));
    EXPECT_EQ("Invalid file name", box.caption);
    EXPECT_EQ("Unable to create the file", box.text);
    EXPECT_EQ(BoxIcon::Warning, box.icon) << IconName(box.icon);
    EXPECT_EQ(old, ReadBytes(settings));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY),
              GetFileAttributesA(settings.c_str()) & FILE_ATTRIBUTE_READONLY);
}

} // namespace
