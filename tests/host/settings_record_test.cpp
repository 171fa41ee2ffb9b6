#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "settings/settings_record.h"

namespace {

std::vector<unsigned char> Encoded(const char *text, uint16_t y, uint16_t m, uint16_t d)
{
    char path[SettingsPathSize] = {};
    strcpy(path, text);
    std::vector<unsigned char> bytes(SettingsRecordSize);
    EncodeSettingsRecord(path, y, m, d, bytes.data());
    return bytes;
}

TEST(SettingsRecord, StoresTheDateLittleEndianRightBehindThePath)
{
    const std::vector<unsigned char> bytes = Encoded("C:\\GAMES\\GAME.EXE", 1999, 10, 26);
    const unsigned char date[] = {0xCF, 0x07, 0x0A, 0x00, 0x1A, 0x00};
    EXPECT_EQ(0, memcmp(bytes.data() + 270, date, sizeof date));
    EXPECT_EQ(0, memcmp(bytes.data(), "C:\\GAMES\\GAME.EXE", 18));
    for (size_t i = 18; i < SettingsPathSize; ++i)
        ASSERT_EQ(0, bytes[i]) << "offset " << i;
}

TEST(SettingsRecord, WritesAllPathBytesAsTheyStand)
{
    char path[SettingsPathSize];
    memset(path, 'x', sizeof path);
    memcpy(path, "C:\\A.EXE", 9);
    unsigned char bytes[SettingsRecordSize];
    EncodeSettingsRecord(path, 1, 2, 3, bytes);
    EXPECT_EQ(0, memcmp(bytes, path, SettingsPathSize));
}

TEST(SettingsRecord, ReadsBackWhatWasWritten)
{
    const uint16_t dates[][3] = {{1999, 10, 26}, {0, 0, 0}, {65535, 13, 65535}, {2024, 2, 29}};
    for (const auto &date : dates) {
        const std::vector<unsigned char> bytes = Encoded("C:\\A.EXE", date[0], date[1], date[2]);
        char path[SettingsPathSize];
        uint16_t y = 1, m = 1, d = 1;
        ASSERT_EQ(1, DecodeSettingsRecord(bytes.data(), bytes.size(), path, &y, &m, &d));
        EXPECT_STREQ("C:\\A.EXE", path);
        EXPECT_EQ(date[0], y);
        EXPECT_EQ(date[1], m);
        EXPECT_EQ(date[2], d);
    }
}

TEST(SettingsRecord, IgnoresPathBytesAfterTheZeroAndBytesAfterTheRecord)
{
    std::vector<unsigned char> bytes = Encoded("C:\\SHORT.EXE", 2000, 1, 2);
    memset(bytes.data() + 13, 'Q', SettingsPathSize - 13);
    bytes.resize(300, 0xEE);
    char path[SettingsPathSize];
    uint16_t y, m, d;
    ASSERT_EQ(1, DecodeSettingsRecord(bytes.data(), bytes.size(), path, &y, &m, &d));
    EXPECT_STREQ("C:\\SHORT.EXE", path);
    EXPECT_EQ(2000, y);
}

TEST(SettingsRecord, RefusesShortInputAndAPathWithoutTerminator)
{
    std::vector<unsigned char> full = Encoded("C:\\A.EXE", 2000, 1, 2);
    std::vector<unsigned char> unterminated = full;
    memset(unterminated.data(), 'A', SettingsPathSize);
    std::vector<unsigned char> lastByteZero = unterminated;
    lastByteZero[SettingsPathSize - 1] = 0;

    struct {
        const char *what;
        const std::vector<unsigned char> *bytes;
        size_t size;
        int expected;
    } cases[] = {
        {"empty", &full, 0, 0},
        {"275 bytes", &full, 275, 0},
        {"276 bytes", &full, 276, 1},
        {"no zero in the path field", &unterminated, 276, 0},
        {"269 characters and the zero", &lastByteZero, 276, 1},
    };
    for (const auto &c : cases) {
        char path[SettingsPathSize];
        memset(path, 0x5A, sizeof path);
        uint16_t y = 7, m = 7, d = 7;
        EXPECT_EQ(c.expected, DecodeSettingsRecord(c.bytes->data(), c.size, path, &y, &m, &d))
            << c.what;
        if (c.expected == 0) {
            EXPECT_EQ(0x5A, path[0]) << c.what << ": destination touched";
            EXPECT_EQ(7, y) << c.what;
        }
    }
}

} // namespace
