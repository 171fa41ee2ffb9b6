#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "window/browser_rules.h"

namespace {

TEST(ParentCutIndex, FindsTheLastButOneBackslash)
{
    const struct {
        const char *path;
        size_t index;
    } cases[] = {
        {"C:\\", 0},
        {"C:\\A\\", 2},
        {"C:\\A\\B\\", 4},
        {"C:\\GAMES\\OLD\\", 8},
        {"d:\\x\\y\\z\\", 6},
        {"\\", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.index, ParentCutIndex(c.path)) << c.path;
}

TEST(ApplyFolderEntry, EntersGoesUpAndRefuses)
{
    const struct {
        const char *folder;
        const char *entry;
        FolderEntryResult result;
        const char *after;
    } cases[] = {
        {"C:\\", "[GAMES]", FolderEntered, "C:\\GAMES\\"},
        {"C:\\A\\", "[My Games]", FolderEntered, "C:\\A\\My Games\\"},
        {"C:\\A\\B\\", "[..]", FolderEntered, "C:\\A\\"},
        {"C:\\A\\", "[..]", FolderEntered, "C:\\"},
        {"C:\\", "[..]", FolderAtRoot, "C:\\"},
        {"d:\\", "[..]", FolderAtRoot, "d:\\"},
        {"C:\\A\\", "README", FolderNotDirectory, "C:\\A\\"},
        {"C:\\A\\", "", FolderNotDirectory, "C:\\A\\"},
        {"C:\\A\\", "[", FolderNotDirectory, "C:\\A\\"},
        {"C:\\A\\", "x[Y]", FolderNotDirectory, "C:\\A\\"},
    };
    for (const auto &c : cases) {
        char folder[256];
        strcpy(folder, c.folder);
        EXPECT_EQ(c.result, ApplyFolderEntry(folder, sizeof folder, c.entry)) << c.entry;
        EXPECT_STREQ(c.after, folder) << c.folder << " + " << c.entry;
    }
}

TEST(ApplyFolderEntry, KeepsTheFolderWithinItsBuffer)
{
    // 255 characters and the terminator fill the 256 bytes exactly.
    const std::string base = "C:\\" + std::string(240, 'a') + "\\";         // 244 characters
    const std::string fits = "[" + std::string(10, 'b') + "]";                  // adds 11: 255
    const std::string tooLong = "[" + std::string(11, 'b') + "]";               // adds 12: 256
    char folder[256];
    memset(folder, '#', sizeof folder);
    strcpy(folder, base.c_str());
    EXPECT_EQ(FolderNameTooLong, ApplyFolderEntry(folder, sizeof folder, tooLong.c_str()));
    EXPECT_EQ(base, folder);
    EXPECT_EQ(FolderEntered, ApplyFolderEntry(folder, sizeof folder, fits.c_str()));
    EXPECT_EQ(255u, strlen(folder));
    EXPECT_EQ(base + std::string(10, 'b') + "\\", folder);
}

TEST(DriveRootOfEntry, TakesTheThirdCharacter)
{
    const struct {
        const char *entry;
        int result;
        const char *root;
    } cases[] = {
        {"[-d-]", 1, "d:\\"},
        {"[-c-]", 1, "c:\\"},
        // An ordinary file listed among the drives names the drive of its third character.
        {"GAME.EXE", 1, "M:\\"},
        {"ab", 0, ""},
        {"", 0, ""},
    };
    for (const auto &c : cases) {
        char root[4] = "";
        EXPECT_EQ(c.result, DriveRootOfEntry(c.entry, root)) << c.entry;
        EXPECT_STREQ(c.root, root) << c.entry;
    }
}

TEST(SettingsNameOfEntry, ReplacesTheLastThreeCharacters)
{
    const std::string longName = std::string(41, 'L') + ".exe"; // 45 characters
    const struct {
        std::string entry;
        size_t size;
        int result;
        std::string name;
    } cases[] = {
        {"GAME.EXE", 260, 1, "GAME.tpr"},
        {"game.exe", 260, 1, "game.tpr"},
        {"A.EXE", 260, 1, "A.tpr"},
        {longName, 260, 1, std::string(41, 'L') + ".tpr"},
        {"GAME.EXE", 9, 1, "GAME.tpr"},
        {"GAME.EXE", 8, 0, "unchanged"},
    };
    for (const auto &c : cases) {
        char name[260] = "unchanged";
        EXPECT_EQ(c.result, SettingsNameOfEntry(c.entry.c_str(), name, c.size)) << c.entry;
        EXPECT_EQ(c.name, name) << c.entry;
    }
}

TEST(JoinApplicationPath, FitsTheSettingsRecordOrLeavesThePathAlone)
{
    char path[270];
    memset(path, '#', sizeof path);
    ASSERT_EQ(1, JoinApplicationPath("C:\\GAMES\\", "GAME.EXE", path, sizeof path));
    EXPECT_STREQ("C:\\GAMES\\GAME.EXE", path);
    EXPECT_EQ('#', path[18]) << "bytes after the terminator must keep what they held";

    // A longer path, then a shorter one: the rest of the longer stays after the terminator.
    ASSERT_EQ(1, JoinApplicationPath("C:\\", "TEN.EXE", path, sizeof path));
    EXPECT_STREQ("C:\\TEN.EXE", path);
    EXPECT_EQ('M', path[11]); // left from C:\GAMES\GAME.EXE

    const std::string folder = "C:\\" + std::string(250, 'f') + "\\"; // 254 characters
    const std::string fits = std::string(11, 'x') + ".exe";          // 254 + 15 = 269
    const std::string tooLong = std::string(12, 'x') + ".exe";       // 270
    ASSERT_EQ(1, JoinApplicationPath(folder.c_str(), fits.c_str(), path, sizeof path));
    EXPECT_EQ(folder + fits, path);
    EXPECT_EQ(0, JoinApplicationPath(folder.c_str(), tooLong.c_str(), path, sizeof path));
    EXPECT_EQ(folder + fits, path) << "a refused path must leave the selection alone";
}

} // namespace
