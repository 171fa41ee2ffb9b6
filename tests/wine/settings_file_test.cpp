// ReadSettingsFile and WriteSettingsFile on real files of the prefix's C: drive.
#include <gtest/gtest.h>

#include <string.h>

#include "settings/settings_file.h"
#include "support.h"

namespace {

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override { folder = FreshFolder("settings-file"); }
    void TearDown() override { RemoveTree(folder); }

    std::string folder;
};

struct ReadResult {
    int result;
    std::string path;
    WORD year, month, day;
};

ReadResult Read(const std::string &fileName)
{
    ReadResult r;
    char path[270];
    memset(path, 0x5A, sizeof path);
    r.year = r.month = r.day = 0xBEEF;
    r.result = ReadSettingsFile(fileName.c_str(), path, &r.year, &r.month, &r.day);
    r.path = r.result ? std::string(path) : std::string();
    return r;
}

TEST_F(SettingsFile, ReaderRefusesWhatIsNotAWholeRecord)
{
    const std::string valid = RecordBytes("C:\\GAMES\\GAME.EXE", 2000, 1, 2);
    std::string unterminated = valid;
    memset(&unterminated[0], 'A', 270);
    CreateDirectoryA((folder + "dir.tpr").c_str(), nullptr);
    WriteBytes(folder + "empty.tpr", "");
    WriteBytes(folder + "short.tpr", valid.substr(0, 275));
    WriteBytes(folder + "unterminated.tpr", unterminated);

    const char *names[] = {"missing.tpr", "empty.tpr", "short.tpr", "dir.tpr", "unterminated.tpr"};
    for (const char *name : names)
        EXPECT_EQ(0, Read(folder + name).result) << name;
}

TEST_F(SettingsFile, ReaderTakesTheFirst276BytesVerbatim)
{
    // 0A and 1A are neither a line end nor an end of file.
    WriteBytes(folder + "a.tpr", RecordBytes("C:\\GAMES\\GAME.EXE", 1999, 10, 26));
    WriteBytes(folder + "long.tpr", RecordBytes("C:\\X.EXE", 2000, 13, 0) + std::string(24, '\x1a'));

    ReadResult a = Read(folder + "a.tpr");
    ASSERT_EQ(1, a.result);
    EXPECT_EQ("C:\\GAMES\\GAME.EXE", a.path);
    EXPECT_EQ(1999, a.year);
    EXPECT_EQ(10, a.month);
    EXPECT_EQ(26, a.day);

    // The date is not judged here: month 13 and day 0 come back as stored.
    ReadResult b = Read(folder + "long.tpr");
    ASSERT_EQ(1, b.result);
    EXPECT_EQ("C:\\X.EXE", b.path);
    EXPECT_EQ(13, b.month);
    EXPECT_EQ(0, b.day);
}

TEST_F(SettingsFile, WriterLeavesExactlyTheRecord)
{
    char path[270] = "C:\\GAMES\\GAME.EXE";
    const std::string expected = RecordBytes(path, 1999, 10, 26);
    const struct {
        const char *what;
        const char *name;
        std::string before;
    } cases[] = {
        {"new file", "new.tpr", ""},
        {"longer file", "longer.tpr", std::string(1000, 'L')},
        {"shorter file", "shorter.tpr", std::string(10, 'S')},
        {"older record", "older.tpr", RecordBytes("C:\\SOME\\OTHER\\PROGRAM.EXE", 2020, 5, 5)},
    };
    for (const auto &c : cases) {
        const std::string file = folder + c.name;
        if (!c.before.empty())
            WriteBytes(file, c.before);
        EXPECT_EQ(1, WriteSettingsFile(file.c_str(), path, 1999, 10, 26)) << c.what;
        EXPECT_EQ(expected, ReadBytes(file)) << c.what;
        EXPECT_EQ(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL,
                  GetFileAttributesA(file.c_str()) | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL)
            << c.what << ": attributes";
    }
}

TEST_F(SettingsFile, WriterStoresThePathBufferAsItStands)
{
    // A 10-character path written over the rest of a longer one: the reader sees the short one.
    char path[270];
    memset(path, 0, sizeof path);
    strcpy(path, "C:\\GAMES\\SOME\\RATHER\\LONG\\PROGRAM.EXE");
    strcpy(path, "C:\\TEN.EXE");
    const std::string file = folder + "a.tpr";
    ASSERT_EQ(1, WriteSettingsFile(file.c_str(), path, 2001, 2, 3));
    const std::string bytes = ReadBytes(file);
    ASSERT_EQ(276u, bytes.size());
    EXPECT_EQ(0, memcmp(bytes.data(), path, 270));
    ReadResult back = Read(file);
    EXPECT_EQ("C:\\TEN.EXE", back.path);
}

TEST_F(SettingsFile, WriterRefusesWhatItMustNotWriteAndCreatesNothing)
{
    char path[270] = "C:\\A.EXE";
    const std::string readOnly = folder + "readonly.tpr";
    const std::string old = RecordBytes("C:\\OLD.EXE", 1990, 1, 1) + "tail";
    WriteBytes(readOnly, old);
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    CreateDirectoryA((folder + "dir.tpr").c_str(), nullptr);

    const struct {
        const char *what;
        std::string name;
    } cases[] = {
        {"read-only file", readOnly},
        {"folder", folder + "dir.tpr"},
        {"missing folder", folder + "nowhere\\a.tpr"},
        {"rejected name", folder + "a<b.tpr"},
        {"wildcard", folder + "a*.tpr"},
    };
    for (const auto &c : cases) {
        SetLastError(0xdeadbeef);
        EXPECT_EQ(0, WriteSettingsFile(c.name.c_str(), path, 2000, 1, 1)) << c.what;
    }
    EXPECT_EQ(old, ReadBytes(readOnly)) << "the read-only file changed";
    EXPECT_TRUE(GetFileAttributesA((folder + "dir.tpr").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(FileExists(folder + "nowhere"));

    // Nothing else appeared in the folder.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    std::string names;
    do {
        names += std::string(found.cFileName) + " ";
    } while (FindNextFileA(search, &found));
    FindClose(search);
    EXPECT_EQ(". .. dir.tpr readonly.tpr ", names);
}

TEST_F(SettingsFile, WriterSharesTheFileWithOtherReadersAndWriters)
{
    char path[270] = "C:\\A.EXE";
    const std::string file = folder + "shared.tpr";
    WriteBytes(file, RecordBytes("C:\\OLD.EXE", 1990, 1, 1));
    HANDLE other = CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    EXPECT_EQ(1, WriteSettingsFile(file.c_str(), path, 2000, 1, 1));
    EXPECT_EQ(1, Read(file).result);
    CloseHandle(other);
    EXPECT_EQ(RecordBytes("C:\\A.EXE", 2000, 1, 1), ReadBytes(file));
}

} // namespace
