#include <gtest/gtest.h>

#include <string>

#include "launch/command_line.h"

namespace {

struct TailCase {
    const char *line;
    const char *tail;
};

const TailCase TailCases[] = {
    {"", ""},
    {"tempir.exe", ""},
    {"tempir.exe \t  \t", ""},
    {"\"C:\\Program Files\\tempir.exe\"", ""},
    // No blank is needed after the closing quote.
    {"\"C:\\T\\tempir.exe\"C:\\a.tpr", "C:\\a.tpr"},
    {"\"C:\\T\\tempir.exe\" C:\\My Docs\\a.tpr", "C:\\My Docs\\a.tpr"},
    {"tempir.exe C:\\My Docs\\a.tpr", "C:\\My Docs\\a.tpr"},
    // Quotes and trailing blanks of the tail stay.
    {"tempir.exe \"C:\\a.tpr\"", "\"C:\\a.tpr\""},
    {"tempir.exe \"\"", "\"\""},
    {"tempir.exe a.tpr  ", "a.tpr  "},
    {"tempir.exe a \" b", "a \" b"},
    // An unterminated quoted name runs to the end of the line.
    {"\"C:\\T\\tempir.exe a.tpr", ""},
    {"\"\" a.tpr", "a.tpr"},
    // Every code from 0x01 to 0x20 ends an unquoted name and is skipped before the tail.
    {"tempir.exe\x01\x1f\x20\ta.tpr", "a.tpr"},
    {"tempir.exe\ra.tpr", "a.tpr"},
    // Codes above 0x7F belong to the name and to the tail: compared as unsigned bytes.
    {"t\xe9mpir.exe a.tpr", "a.tpr"},
    {"tempir.exe \xa0" "a.tpr", "\xa0" "a.tpr"},
    {"\"C:\\T\\tempir.exe\" \xff", "\xff"},
};

TEST(CommandLineTail, FollowsTheProgramNameRule)
{
    for (const TailCase &c : TailCases) {
        const char *tail = CommandLineTail(c.line);
        EXPECT_EQ(std::string(c.tail), tail) << "line: [" << c.line << "]";
    }
}

TEST(CommandLineTail, PointsIntoTheLineItself)
{
    const char line[] = "tempir.exe  x.tpr";
    EXPECT_EQ(line + 12, CommandLineTail(line));
}

} // namespace
