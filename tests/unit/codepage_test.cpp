#include <gtest/gtest.h>

#include "common/codepage.h"

namespace {

TEST(Codepage, RoundTripOfEveryByte)
{
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        std::string back;
        uint32_t bad = 0;
        ASSERT_TRUE(Utf8ToCp1252(Cp1252ToUtf8(&byte, 1), back, bad)) << b;
        ASSERT_EQ(back, std::string(1, byte)) << b;
    }
}

TEST(Codepage, GermanLettersAndTheEuro)
{
    std::string out;
    uint32_t bad = 0;
    ASSERT_TRUE(Utf8ToCp1252("\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F \xE2\x82\xAC", out, bad));
    EXPECT_EQ(out, "\xE4\xF6\xFC\xDF \x80");
    EXPECT_EQ(Cp1252ToUtf8("\x84\x93", 2), "\xE2\x80\x9E\xE2\x80\x9C");
}

TEST(Codepage, CharactersOutsideTheCodePageAndBrokenUtf8AreRefused)
{
    std::string out;
    uint32_t bad = 0;
    EXPECT_FALSE(Utf8ToCp1252("a\xC5\x81" "b", out, bad)); // L with stroke
    EXPECT_EQ(bad, 0x141u);
    EXPECT_FALSE(Utf8ToCp1252("\xE2\x82", out, bad));
    EXPECT_EQ(bad, 0xFFFFFFFFu);
    EXPECT_FALSE(Utf8ToCp1252("\xC0\xAF", out, bad)); // overlong "/"
    EXPECT_FALSE(Utf8ToCp1252("\xED\xA0\x80", out, bad)); // surrogate
    EXPECT_FALSE(Utf8ToCp1252("\xFF", out, bad));
}

} // namespace
