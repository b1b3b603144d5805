#include "framework/DataExchange.h"

#include <gtest/gtest.h>

// What an edit bound to an integer accepts.
TEST(ParseInteger, AcceptsSignedDecimalsWithBlanksAround)
{
    int value = 0;
    EXPECT_TRUE(ParseInteger(" 8 ", value));
    EXPECT_EQ(8, value);
    EXPECT_TRUE(ParseInteger("-2147483648", value));
    EXPECT_EQ(INT_MIN, value);
    EXPECT_TRUE(ParseInteger("+2147483647", value));
    EXPECT_EQ(INT_MAX, value);
}

TEST(ParseInteger, RejectsTextOverflowAndEmptyWithoutTouchingTheValue)
{
    int value = 5;
    for (const char* text : {"", " ", "abc", "8x", "1 2", "-", "2147483648", "-2147483649", "99999999999999999999"})
        EXPECT_FALSE(ParseInteger(text, value)) << text;
    EXPECT_EQ(5, value);
}
