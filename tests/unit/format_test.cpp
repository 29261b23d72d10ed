#include <gtest/gtest.h>

#include "data/dictionary_format.h"
#include "test_bytes.h"

namespace {

const char* const kGerEng = "GerEng Data Starts Here:";

TEST(HeaderMarker, EndsTheHeaderWhereverItStarts)
{
    EXPECT_EQ(FindHeaderEnd(Bytes(std::string(kGerEng) + "\r\n"), 26, kGerEng), 24u);
    const std::string file = "free text\r\n" + std::string(kGerEng) + "\r\nHaus*house\r\n";
    EXPECT_EQ(FindHeaderEnd(Bytes(file), Size(file), kGerEng), 11u + 24u);
}

TEST(HeaderMarker, OnlyTheExactMarkerOfTheDirectionCounts)
{
    const std::string file = "EngGer Data Starts Here:\r\ngereng data starts here:\r\nGerEng Data Starts Here\r\n"
                             "GerEng Data Starts Here:\r\nx*y\r\nGerEng Data Starts Here:\r\n";
    const uint32_t first = static_cast<uint32_t>(file.find(kGerEng)) + 24;
    EXPECT_EQ(FindHeaderEnd(Bytes(file), Size(file), kGerEng), first);
    EXPECT_EQ(FindHeaderEnd(Bytes(file), Size(file), "EngGer Data Starts Here:"), 24u);
}

TEST(HeaderMarker, MissingOrCutShortMeansNoData)
{
    const std::string cut = std::string("header\r\n") + "GerEng Data Starts Here";
    EXPECT_EQ(FindHeaderEnd(Bytes(cut), Size(cut), kGerEng), kNoMarker);
    EXPECT_EQ(FindHeaderEnd(nullptr, 0, kGerEng), kNoMarker);
    EXPECT_EQ(FindHeaderEnd(Bytes(std::string("G")), 1, kGerEng), kNoMarker);
    EXPECT_EQ(DataBytes(Bytes(cut), Size(cut), kNoMarker), 0u);
    EXPECT_EQ(DataBytes(nullptr, 100, 24), 0u);
    EXPECT_EQ(DataBytes(Bytes(cut), 24, 24), 0u);
    EXPECT_EQ(DataBytes(Bytes(cut), 30, 24), 6u);
}

TEST(HeaderMarker, NeverReadsPastTheGivenSize)
{
    // The marker lies in the buffer, but just beyond the size given.
    const std::string file = std::string("ab") + kGerEng;
    EXPECT_EQ(FindHeaderEnd(Bytes(file), Size(file) - 1, kGerEng), kNoMarker);
    EXPECT_EQ(FindHeaderEnd(Bytes(file), Size(file), kGerEng), 26u);
}

TEST(WordStart, LettersSignsBetweenThemAndUmlautsOnly)
{
    std::string starts;
    for (int b = 0; b < 256; ++b)
        if (IsWordStart(static_cast<unsigned char>(b)))
            starts += static_cast<char>(b);
    std::string expected;
    for (int b = 'A'; b <= 'z'; ++b)
        expected += static_cast<char>(b);
    expected += "\xC4\xD6\xDC\xE4\xF6\xFB\xFC";
    EXPECT_EQ(starts, expected);
}

TEST(FixedColumnForm, SourceOfFortyThreeBytesAndTranslationAfterTheStar)
{
    const std::string line = FixedLine("Haus", "house");
    ASSERT_EQ(line.size(), 51u);
    EXPECT_EQ(line[43], '*');
    const unsigned char* end = Bytes(line) + line.size();
    EXPECT_EQ(FindLineEnd(Bytes(line), end), end - 2);
}

TEST(LineEnd, OnlyAWholeCrLfInsideTheRangeCounts)
{
    const std::string text = "a\rb\nc\r";
    const unsigned char* end = Bytes(text) + text.size();
    EXPECT_EQ(FindLineEnd(Bytes(text), end), end);
    const std::string pair = "ab\r\r\n";
    EXPECT_EQ(FindLineEnd(Bytes(pair), Bytes(pair) + 5), Bytes(pair) + 3);
    EXPECT_EQ(FindLineEnd(Bytes(pair), Bytes(pair) + 4), Bytes(pair) + 4);
}

} // namespace
