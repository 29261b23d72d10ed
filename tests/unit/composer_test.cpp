#include <gtest/gtest.h>

#include <string>

#include "data/entry_composer.h"
#include "test_bytes.h"

namespace {

constexpr DictionaryDirection kGerEng = DictionaryDirection::GermanToEnglish;
constexpr DictionaryDirection kEngGer = DictionaryDirection::EnglishToGerman;

struct Composed {
    ComposeOutcome outcome;
    std::string line; // the whole record, CR LF included
    std::string message;
};

Composed Compose(const std::string& text, DictionaryDirection direction)
{
    EntryRecord record{};
    char message[kComposeMessageBytes];
    const ComposeOutcome outcome = ComposeEntry(Bytes(text), Size(text), direction, record, message);
    return {outcome, std::string(reinterpret_cast<const char*>(record.bytes), record.length), message};
}

// The source and translation a composed line reads back as.
void ExpectSplit(const std::string& text, DictionaryDirection direction, const std::string& source,
                 const std::string& translation)
{
    const Composed c = Compose(text, direction);
    ASSERT_EQ(c.outcome, ComposeOutcome::Composed) << "'" << text << "'";
    EXPECT_EQ(c.line, FixedLine(source, translation)) << "'" << text << "'";
    EXPECT_EQ(c.line.size(), 46 + translation.size());
    EXPECT_EQ(c.line[43], '*');
}

TEST(ComposeGermanToEnglish, FirstWordWithItsBlanksAndGroupIsTheSource)
{
    ExpectSplit("Haus (n) house", kGerEng, "Haus (n)", "house");
    EXPECT_EQ(Compose("Haus (n) house", kGerEng).line.size(), 51u);
    ExpectSplit("Haus house", kGerEng, "Haus ", "house");
    ExpectSplit("  Haus house", kGerEng, "  Haus ", "house");
    ExpectSplit("Haus: house", kGerEng, "Haus", ": house");
    ExpectSplit("gut aussehend good-looking", kGerEng, "gut ", "aussehend good-looking");
    ExpectSplit("Haus (n) : : house", kGerEng, "Haus (n)", "house");
    ExpectSplit("a (b (x) d) e", kGerEng, "a (b (x)", "d) e");
    ExpectSplit("Stern* star", kGerEng, "Stern* ", "star");
}

TEST(ComposeGermanToEnglish, LongestEntryAndTheFortyByteLimit)
{
    ExpectSplit("a:" + std::string(78, 'b'), kGerEng, "a", ":" + std::string(78, 'b'));
    EXPECT_EQ(Compose("a:" + std::string(78, 'b'), kGerEng).line.size(), 125u);

    const std::string word39(39, 'w');
    ExpectSplit(word39 + " x", kGerEng, word39 + " ", "x");

    const Composed over = Compose(std::string(40, 'w') + " x", kGerEng);
    EXPECT_EQ(over.outcome, ComposeOutcome::SourceTooLong);
    EXPECT_EQ(over.message, "Source entry is 1   bytes too long.");
    EXPECT_TRUE(over.line.empty());

    const Composed noTranslation = Compose(std::string(62, 'w') + " ", kGerEng);
    EXPECT_EQ(noTranslation.outcome, ComposeOutcome::SourceTooLong);
    EXPECT_EQ(noTranslation.message, "Source entry is 23  bytes too long.");

    // The largest excess a 127-byte read can give still fits the message.
    EXPECT_EQ(Compose(std::string(127, 'w'), kGerEng).message, "Source entry is 87  bytes too long.");
}

TEST(ComposeGermanToEnglish, ClosedGroupFollowedOnlyByBlanksAndColons)
{
    const Composed c = Compose("Haus (n) ::  ", kGerEng);
    EXPECT_EQ(c.outcome, ComposeOutcome::NothingToAdd);
    EXPECT_TRUE(c.message.empty());
    EXPECT_TRUE(c.line.empty());
}

TEST(ComposeGermanToEnglish, EmptySourceOrTranslationIsNeverComposed)
{
    for (const char* text : {"", ":", ": house", "Haus", "Haus  ", "Haus (n", "Haus (n)", "   "}) {
        const Composed c = Compose(text, kGerEng);
        EXPECT_EQ(c.outcome, ComposeOutcome::EmptyPart) << "'" << text << "'";
        EXPECT_TRUE(c.line.empty()) << "'" << text << "'";
    }
    EXPECT_EQ(Compose(std::string(45, 'w'), kGerEng).outcome, ComposeOutcome::SourceTooLong);
}

// The reader begins an entry at its first word-start byte, so a source that
// begins otherwise would read as part of its neighbours and never be found.
TEST(ComposeEntry, ASourceMustBeginWithALetter)
{
    for (const auto& [text, direction] : {std::pair{"10 zehn", kGerEng}, {"(ein) Haus", kGerEng}, {"  :x", kGerEng},
                                          {" : house", kEngGer}, {"1st: erste", kEngGer}}) {
        const Composed c = Compose(text, direction);
        EXPECT_EQ(c.outcome, ComposeOutcome::NoLetterFirst) << "'" << text << "'";
        EXPECT_EQ(c.message, "Source entry must begin with a letter.");
        EXPECT_TRUE(c.line.empty());
    }
    ExpectSplit("  \xFC" "ber over", kGerEng, "  \xFC" "ber ", "over");
    ExpectSplit("_x: y", kEngGer, "_x", " y");
}

TEST(ComposeEnglishToGerman, TheColonEndsTheSource)
{
    ExpectSplit("to go: gehen", kEngGer, "to go", " gehen");
    ExpectSplit("to go : gehen", kEngGer, "to go ", " gehen");
    ExpectSplit("house (n) Haus", kEngGer, "house (n)", "Haus");
    ExpectSplit("to go(v): gehen", kEngGer, "to go(v)", " gehen");
    ExpectSplit("in the (early) morning: morgens", kEngGer, "in the (early)", "morning: morgens");
    ExpectSplit("a b c d:e", kEngGer, "a b c d", "e");
}

TEST(ComposeEnglishToGerman, MissingColon)
{
    for (const char* text : {"house Haus", "house", "house ", "", "house (n Haus"}) {
        const Composed c = Compose(text, kEngGer);
        EXPECT_EQ(c.outcome, ComposeOutcome::NoSourceMarker) << "'" << text << "'";
        EXPECT_EQ(c.message, "No End-Of-Source marker (colon) found.");
        EXPECT_TRUE(c.line.empty());
    }
}

TEST(ComposeEnglishToGerman, EmptyPartsAndTooLong)
{
    for (const char* text : {":Haus", "house:", "house (n)", "house (n) : "}) {
        const ComposeOutcome outcome = Compose(text, kEngGer).outcome;
        EXPECT_TRUE(outcome == ComposeOutcome::EmptyPart || outcome == ComposeOutcome::NothingToAdd)
            << "'" << text << "'";
    }
    EXPECT_EQ(Compose("house (n) : ", kEngGer).outcome, ComposeOutcome::NothingToAdd);
    EXPECT_EQ(Compose(std::string(41, 'w') + ":", kEngGer).message, "Source entry is 1   bytes too long.");
}

TEST(ComposeEntry, ReadsNoMoreThanTheFieldHolds)
{
    // Only the first 127 bytes count, as the edit field is read; a longer
    // input never overflows the record.
    const std::string text = "a " + std::string(300, 't');
    const Composed c = Compose(text, kGerEng);
    ASSERT_EQ(c.outcome, ComposeOutcome::Composed);
    EXPECT_EQ(c.line.size(), 46u + 125u);
    EXPECT_LE(c.line.size(), kEntryRecordBytes);
}

TEST(ComposeEntry, RefusalLeavesTheRecordAlone)
{
    EntryRecord record{};
    record.length = 0;
    record.bytes[0] = 'Q';
    char message[kComposeMessageBytes];
    EXPECT_EQ(ComposeEntry(Bytes("house"), 5, kEngGer, record, message), ComposeOutcome::NoSourceMarker);
    EXPECT_EQ(record.length, 0u);
    EXPECT_EQ(record.bytes[0], 'Q');
}

} // namespace
