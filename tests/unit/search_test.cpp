#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "data/search.h"
#include "reference_search.h"
#include "test_bytes.h"

namespace {

struct Searcher {
    std::string file;
    ResultList list;

    explicit Searcher(std::string bytes) : file(std::move(bytes)) { InitResultList(list); }

    int32_t Run(const std::string& text)
    {
        const uint32_t header = FindHeaderEnd(Bytes(file), Size(file), "GerEng Data Starts Here:");
        const int32_t found = SearchDictionary({Bytes(file), Size(file), header}, Bytes(text), Size(text), list);
        EXPECT_EQ(found, list.resultCount);
        return found;
    }
    std::string Source(int slot) const
    {
        const ResultRecord& r = list.table.results[slot];
        return file.substr(r.source, r.sourceLength);
    }
    std::string Translation(int slot) const
    {
        const ResultRecord& r = list.table.results[slot];
        return file.substr(r.translation, r.translationLength);
    }
};

TEST(Search, PrefixOfTheTextFromItsFirstLetter)
{
    Searcher s(GerEngFile(FixedLine("Haus", "house") + FixedLine("Hausarzt", "family doctor") +
                          "  12 (Haushalt*household\r\n" + FixedLine("haus", "lower case") +
                          FixedLine("Hut", "hat")));
    ASSERT_EQ(s.Run("Haus"), 3);
    EXPECT_EQ(s.Translation(0), "house");
    EXPECT_EQ(s.Translation(1), "family doctor");
    EXPECT_EQ(s.Source(2), "Haushalt");
    EXPECT_EQ(s.Translation(2), "household");
    EXPECT_EQ(s.Run("hau"), 1);
    EXPECT_EQ(s.Run("Hu"), 1);
    EXPECT_EQ(s.Run("Hx"), 0);
}

TEST(Search, ComposedLineGivesSourceOfFortyThreeBytes)
{
    const std::string file = GerEngFile(FixedLine("Haus", "house"));
    Searcher s(file);
    ASSERT_EQ(s.Run("Haus"), 1);
    const ResultRecord& r = s.list.table.results[0];
    EXPECT_EQ(r.source, file.find("Haus"));
    EXPECT_EQ(r.sourceLength, 43u);
    EXPECT_EQ(r.translation, r.source + 44);
    EXPECT_EQ(r.translationLength, 5u);
}

TEST(Search, ExactBytesNoFolding)
{
    Searcher s(GerEngFile(FixedLine("\xFC" "ber", "over") + FixedLine("Uber", "taxi") + FixedLine("ueber", "x")));
    EXPECT_EQ(s.Run("\xFC"), 1);
    EXPECT_EQ(s.Run("u"), 1);
    EXPECT_EQ(s.Run("U"), 1);
    EXPECT_EQ(s.Run("\xDC"), 0);
}

TEST(Search, OnlyTheFirstStarSeparatesAndTranslationsKeepTheirStars)
{
    Searcher s(GerEngFile("Stern *star * asterisk\r\n"));
    ASSERT_EQ(s.Run("Stern"), 1);
    EXPECT_EQ(s.Source(0), "Stern ");
    EXPECT_EQ(s.Translation(0), "star * asterisk");
}

TEST(Search, EmptyLinesAndLinesWithoutLettersAreCrossed)
{
    Searcher s(GerEngFile("\r\n\r\n  123 \r\n\r\n" + FixedLine("Ab", "a") + "\r\n" + FixedLine("Ac", "b")));
    EXPECT_EQ(s.Run("A"), 2);
}

TEST(Search, TextNotStartingWithALetterMatchesOnlyAtTheFirstDataByte)
{
    Searcher marker(GerEngFile(FixedLine(" 1a", "x")));
    EXPECT_EQ(marker.Run("\r"), 1);
    EXPECT_EQ(marker.Run(" "), 0);
    Searcher s(std::string("GerEng Data Starts Here:") + " 1 eins*one\r\n 2*two\r\n");
    ASSERT_EQ(s.Run(" 1"), 1);
    EXPECT_EQ(s.Source(0), " 1 eins");
    EXPECT_EQ(s.Run(" 2"), 0);
}

TEST(Search, NothingToScan)
{
    Searcher endsAtMarker(GerEngFile(""));
    EXPECT_EQ(endsAtMarker.Run("x"), 0);
    Searcher noMarker("EngGer Data Starts Here:\r\nxylophone*Xylophon\r\n");
    EXPECT_EQ(noMarker.Run("x"), 0);
    ResultList list;
    InitResultList(list);
    EXPECT_EQ(SearchDictionary({nullptr, 0, 0}, Bytes("x"), 1, list), 0);
    EXPECT_EQ(list.resultCount, 0);
}

TEST(Search, FiveHundredSlotsKeepTheFirst499AndTheLast)
{
    for (int lines : {500, 501, 777}) {
        std::string data;
        for (int i = 0; i < lines; ++i)
            data += FixedLine("Wort", std::to_string(i));
        Searcher s(GerEngFile(data));
        ASSERT_EQ(s.Run("Wort"), 500);
        EXPECT_EQ(s.Translation(0), "0");
        EXPECT_EQ(s.Translation(498), "498");
        EXPECT_EQ(s.Translation(499), std::to_string(lines - 1)) << lines << " lines";
    }
}

TEST(Search, BrokenDataStaysInsideTheFile)
{
    // No "*" anywhere after the matched line: the source runs to the end of
    // the data and the translation is empty, right at the end.
    const std::string noStar = GerEngFile("Haus house\r\nHof yard");
    Searcher a(noStar);
    ASSERT_EQ(a.Run("Haus"), 1);
    EXPECT_EQ(a.list.table.results[0].source + a.list.table.results[0].sourceLength, noStar.size());
    EXPECT_EQ(a.list.table.results[0].translation, noStar.size());
    EXPECT_EQ(a.list.table.results[0].translationLength, 0u);

    // A line without "*" takes its source up to the next line's "*".
    Searcher b(GerEngFile("Haus house\r\nHof*yard\r\n"));
    ASSERT_EQ(b.Run("Haus"), 1);
    EXPECT_EQ(b.Source(0), "Haus house\r\nHof");
    EXPECT_EQ(b.Translation(0), "yard");

    // No final CR LF: the translation ends with the data.
    Searcher c(GerEngFile("Haus*house"));
    ASSERT_EQ(c.Run("Haus"), 1);
    EXPECT_EQ(c.Translation(0), "house");

    // The text runs over the end of the data: no match, no read beyond it.
    Searcher d(GerEngFile("Hau"));
    EXPECT_EQ(d.Run("Haus"), 0);
}

// Dictionaries built to hit the awkward paths: blank, digit and empty lines,
// lone CR and LF, stars in odd places, a second marker, prefixes of prefixes,
// and often more than 500 matches.
std::string RandomDictionary(std::mt19937& rng, bool dense)
{
    static const char* const pieces[] = {"a", "ab", "abc", "b", "H", "Haus", "\xE4", "\xFC" "b", " ", "  ", "*",
                                          "1", "(", "\r", "\n", "\r\n", "x", "GerEng Data Starts Here:", "\xDF"};
    std::string data = "header\r\nGerEng Data Starts Here:";
    const int lines = std::uniform_int_distribution<int>(0, dense ? 3000 : 1400)(rng);
    // Dense files draw from the first few pieces only, so short prefixes
    // match far more than 500 lines.
    const size_t lastPiece = dense ? 3 : std::size(pieces) - 1;
    for (int i = 0; i < lines; ++i) {
        const int kind = std::uniform_int_distribution<int>(0, 9)(rng);
        if (kind == 0) {
            data += "\r\n";
        } else if (kind == 1) {
            data += "  42 \r\n";
        } else {
            const int parts = std::uniform_int_distribution<int>(1, 6)(rng);
            for (int p = 0; p < parts; ++p)
                data += pieces[std::uniform_int_distribution<size_t>(0, lastPiece)(rng)];
            if (kind != 2)
                data += "*" + std::to_string(i);
            if (kind != 3)
                data += "\r\n";
        }
    }
    return data;
}

TEST(SearchDifferential, SameRecordsAsTheByteAtATimeScan)
{
    static const char* const prefixes[] = {"a", "ab", "abc", "H", "Haus", "\xE4", "\xFC" "b", " ", "1", "*",
                                           "\r", "x", "G", "b", "a*", "zz", "abcabc"};
    std::mt19937 rng(20261207);
    static ResultRecord expected[kResultCapacity];
    int pairs = 0;
    int over500 = 0;
    for (int round = 0; round < 120; ++round) {
        const std::string file = RandomDictionary(rng, round % 3 == 0);
        const uint32_t header = FindHeaderEnd(Bytes(file), Size(file), "GerEng Data Starts Here:");
        ASSERT_NE(header, kNoMarker);
        for (const char* prefix : prefixes) {
            const uint32_t length = static_cast<uint32_t>(std::char_traits<char>::length(prefix));
            ResultList list;
            InitResultList(list);
            const int32_t got = ScanDictionary(Bytes(file), header, Size(file), Bytes(prefix), length, list);
            const int32_t want = ReferenceScan(Bytes(file), header, Size(file), Bytes(prefix), length, expected);
            ASSERT_EQ(got, want) << "round " << round << " prefix '" << prefix << "'";
            for (int32_t i = 0; i < got; ++i) {
                const ResultRecord& g = list.table.results[i];
                const ResultRecord& w = expected[i];
                ASSERT_TRUE(g.source == w.source && g.sourceLength == w.sourceLength &&
                            g.translation == w.translation && g.translationLength == w.translationLength)
                    << "round " << round << " prefix '" << prefix << "' slot " << i;
                ASSERT_LE(g.translation + g.translationLength, file.size());
            }
            over500 += got == kResultCapacity;
            ++pairs;
        }
    }
    EXPECT_GT(over500, 10) << "the generator should often overflow the table";
    EXPECT_GE(pairs, 2000);
}

} // namespace
