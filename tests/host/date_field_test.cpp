#include <gtest/gtest.h>

#include "window/date_field.h"

namespace {

TEST(ParseDateField, AcceptsOnlyDecimalDigitsModulo65536)
{
    const struct {
        const char *text;
        uint16_t value;
    } cases[] = {
        {"YYYY", 0}, {"MM", 0}, {"DD", 0},
        {"", 0},
        {"+5", 0}, {" 5", 0}, {"5 ", 0}, {"-1", 0}, {"1e3", 0}, {"5\t", 0},
        {"5", 5}, {"12", 12}, {"0012", 12}, {"1999", 1999},
        {"65535", 65535}, {"65536", 0}, {"67536", 2000}, {"70000", 4464},
        {"0", 0}, {"000000000", 0}, {"999999999", 51711},
        {"\xb2", 0}, // superscript two in the ANSI code page: not a decimal digit
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.value, ParseDateField(c.text)) << "[" << c.text << "]";
}

} // namespace
