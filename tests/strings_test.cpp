#include <gtest/gtest.h>

#include "host/text/strings.h"

using namespace host;

TEST(Strings, UpperCaseChangesOnlyAsciiLetters)
{
    EXPECT_EQ(UpperCase("jo\xe7o \xe3 z9"), "JO\xe7O \xe3 Z9");
}

TEST(Strings, TrimRemovesBlanksAndControlsAtBothEnds)
{
    EXPECT_EQ(Trim(std::string(" \t\n\0a b\x01 ", 9)), "a b");
    EXPECT_EQ(Trim("   "), "");
}

TEST(Strings, IntegerConversions)
{
    EXPECT_EQ(StrToInt("7"), 7);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(StrToInt64("00011111111111"), 11111111111LL);
    EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
    for (const char* bad : {"", "-", "1.2", "12a", "9223372036854775808", "2147483648x"})
        EXPECT_THROW(StrToInt64(bad), EConvertError) << bad;
    EXPECT_THROW(StrToInt("2147483648"), EConvertError);
}

TEST(Strings, FormatMaskTextFillsPositionsAndCopiesLiterals)
{
    EXPECT_EQ(FormatMaskText("(99)99999-9999;0;_", "11987654321"), "(11)98765-4321");
    EXPECT_EQ(FormatMaskText("9999-9999;0;_", "123"), "123_-____");
}

TEST(Strings, Cp1252RoundTripsThroughUtf8)
{
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
    EXPECT_EQ(Cp1252ToUtf8("\x80\xc7"), "\xe2\x82\xac\xc3\x87");
    EXPECT_EQ(Utf8ToCp1252("\xe4\xb8\xad\xff" "a"), "??a");  // outside the code page; malformed
}
