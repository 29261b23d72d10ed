// vokabix-cli as a user runs it: real files, real processes, exit codes.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "test_bytes.h"

namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& arg)
{
    std::string quoted = "'";
    for (char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/vokabix-cli-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::system(("rm -rf " + Quote(dir_)).c_str()); }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    CliRun Vokabix(const std::vector<std::string>& args)
    {
        std::string command = Quote(VOKABIX_CLI);
        for (const std::string& arg : args)
            command += " " + Quote(arg);
        command += " >" + Quote(dir_ + "/out") + " 2>" + Quote(dir_ + "/err");
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadAll(dir_ + "/out"), ReadAll(dir_ + "/err")};
    }

    std::string dir_;
};

TEST_F(Cli, ComposerExamples)
{
    struct Case {
        const char* direction;
        const char* text;
        const char* output;
    } cases[] = {
        {"ger-eng", "Haus (n) house", "Composed\nHaus (n)                                   *house\n"},
        {"ger-eng", "Haus: house", "Composed\nHaus                                       *: house\n"},
        {"ger-eng", "Haus (n) ::  ", "NothingToAdd\n"},
        {"ger-eng", "Haus", "EmptyPart\n"},
        {"eng-ger", "to go: gehen", "Composed\nto go                                      * gehen\n"},
        {"eng-ger", "house Haus", "NoSourceMarker\nNo End-Of-Source marker (colon) found.\n"},
        {"ger-eng", "Donaudampfschifffahrtsgesellschaftskapitaen x",
         "SourceTooLong\nSource entry is 4   bytes too long.\n"},
        {"ger-eng", "\xC3\xBC" "ber over", "Composed\n\xC3\xBC" "ber                                       *over\n"},
    };
    for (const Case& c : cases) {
        const CliRun r = Vokabix({"compose", "-d", c.direction, c.text});
        EXPECT_EQ(r.status, 0) << c.text;
        EXPECT_EQ(r.out, c.output) << c.text;
    }
    EXPECT_EQ(Vokabix({"compose", "Haus house"}).out, Vokabix({"compose", "-d", "ger-eng", "Haus house"}).out);
}

TEST_F(Cli, SearchRecordsAreOffsetsIntoTheFile)
{
    const std::string file = GerEngFile(FixedLine("Haus", "house") + "\r\n  (Hausarzt*doctor\r\n");
    const std::string path = Write("GerEng.dat", file);
    const CliRun r = Vokabix({"search", path, "Haus", "--records"});
    ASSERT_EQ(r.status, 0) << r.err;
    const size_t first = file.find("Haus");
    const size_t second = file.find("Hausarzt");
    std::ostringstream want;
    want << "count 2\n"
         << "0\t" << first << "\t43\t" << first + 44 << "\t5\n"
         << "1\t" << second << "\t8\t" << second + 9 << "\t6\n";
    EXPECT_EQ(r.out, want.str());

    const CliRun people = Vokabix({"search", path, "Haus"});
    EXPECT_EQ(people.out, "Haus\thouse\nHausarzt\tdoctor\n");
}

TEST_F(Cli, SearchTextInUtf8FindsWindows1252Bytes)
{
    const std::string path = Write("GerEng.dat", GerEngFile(FixedLine("\xDC" "bung", "exercise")));
    const CliRun r = Vokabix({"search", path, "\xC3\x9C" "b"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "\xC3\x9C" "bung\texercise\n");
    const CliRun bad = Vokabix({"search", path, "\xC5\x81"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("U+0141"), std::string::npos) << bad.err;
    EXPECT_EQ(Vokabix({"compose", "\xE2\x98\x83: x"}).status, 2);
}

TEST_F(Cli, DirectionChoosesTheMarker)
{
    const std::string path = Write("EngGer.dat", "EngGer Data Starts Here:\r\n" + FixedLine("house", "Haus"));
    const CliRun wrong = Vokabix({"search", path, "house"});
    EXPECT_NE(wrong.status, 0);
    EXPECT_NE(wrong.err.find(path), std::string::npos) << wrong.err;
    EXPECT_NE(wrong.err.find("GerEng Data Starts Here:"), std::string::npos) << wrong.err;
    EXPECT_TRUE(wrong.out.empty());
    const CliRun right = Vokabix({"search", "-d", "eng-ger", path, "house", "--records"});
    EXPECT_EQ(right.status, 0);
    EXPECT_EQ(right.out.substr(0, 8), "count 1\n");
}

TEST_F(Cli, UnreadableFilesAndBadUsageFailCleanly)
{
    const CliRun missing = Vokabix({"search", dir_ + "/nothing.dat", "x"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("nothing.dat"), std::string::npos);
    const CliRun directory = Vokabix({"strongs", dir_, "--records"});
    EXPECT_EQ(directory.status, 1);
    const CliRun empty = Vokabix({"search", Write("empty.dat", ""), "x"});
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find("no marker"), std::string::npos);
    EXPECT_EQ(Vokabix({}).status, 2);
    EXPECT_EQ(Vokabix({"search", "-d", "fr-de", "f", "x"}).status, 2);
    EXPECT_EQ(Vokabix({"frobnicate"}).status, 2);
}

TEST_F(Cli, StrongsRecords)
{
    const std::string record = "\xFB" "gehen            ging             gegangen         to go\r\n";
    const std::string path = Write("strongs.dat", record + "no record\r\n" + record);
    const CliRun r = Vokabix({"strongs", path, "--records"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "lines 3\n"
                     "0\t1\t17\t18\t17\t35\t17\t52\t5\n");
}

// The row a word's own entry gets is counted the way a user meets it: in the
// table the real search fills, its last slot holding the last match.
TEST_F(Cli, RankCountsTheRowOfTheWordTyped)
{
    const std::string path = Write("GerEng.dat", GerEngFile(FixedLine("Hundeh\xFCtte {f}", "kennel") +
                                                            FixedLine("Hund {m} [zool.]", "dog") +
                                                            FixedLine("Katze {f}", "cat") + NumberedLines("Haus", 499) +
                                                            FixedLine("Haus {n}", "house") +
                                                            FixedLine("Hausboot {n}", "houseboat")));
    const std::string words = Write("words.txt", "# test words\nKatze\nHund\n\nHaus\nMaus\r\n");
    const CliRun r = Vokabix({"rank", path, words});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("| German to English | 3 of 4 words | 33.3 % | 66.7 % | 33.3 % | 2 |\n"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find(": Hund(2) Haus(-)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("not counted: Maus\n"), std::string::npos) << r.out;

    EXPECT_EQ(Vokabix({"rank", path, Write("bad.txt", " Haus\n")}).status, 1);
    EXPECT_EQ(Vokabix({"rank", path}).status, 2);
}

// With translations in the list, the second table gives the row of the
// first entry that gives one of them as a synonym of its own, whatever
// notes, objects, articles and abbreviations stand around it.
TEST_F(Cli, RankFindsTheRowOfTheEverydayTranslation)
{
    const std::string path = Write(
        "GerEng.dat", GerEngFile(FixedLine("Hund {m}", "mine car; hot dog stand") + FixedLine("Hund {m} [zool.]", "dog; hound") +
                                 FixedLine("sehen (etw.) {vt}", "to see sth. {saw; seen}") +
                                 FixedLine("sterben {vi}", "to die {died; died}") +
                                 FixedLine("Zimmer {n} /Zi./", "room /rm/") +
                                 FixedLine("Himmel (der)", "the sky; the heavens [poet.]") +
                                 NumberedLines("Haus", 499) + FixedLine("Haus {n}", "house") +
                                 FixedLine("Hausboot {n}", "houseboat")));
    const std::string words = Write("words.txt", "Hund\tdog\nsehen\tsee\nsterben\tdie\nZimmer\troom\n"
                                                 "Himmel\tsky\nHaus\thouse\nMaus\tmouse\nHund\tcat; hound\n");
    const CliRun r = Vokabix({"rank", path, words});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("| German to English | 7 of 8 words | 85.7 % | 85.7 % | 14.3 % | 1 |\n"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("| German to English | 8 of 8 words | 50.0 % | 75.0 % | 25.0 % | 1.5 |\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("translation not on the first row (row, - when not shown): Hund(2) Haus(-) Maus(-) Hund(2)\n"),
              std::string::npos)
        << r.out;

    const std::string english = Write("EngGer.dat", EngGerFile(FixedLine("see (sth.) {v}", "etw. sehen {vt}") +
                                                               FixedLine("sky (the)", "der Himmel")));
    const CliRun e = Vokabix({"rank", "-d", "eng-ger", english, Write("en.txt", "see\tsehen\nsky\tHimmel\n")});
    EXPECT_NE(e.out.find("| English to German | 2 of 2 words | 100.0 % |"), std::string::npos) << e.out;

    // A list of forms names each one's base: the row with the translation
    // must name it as a word of its own ("go", not the "go" of "good").
    const std::string forms = Write("forms.dat", EngGerFile(FixedLine("went (past of go)", "ging") +
                                                            FixedLine("gone", "gegangen") + FixedLine("good", "gut")));
    const CliRun f = Vokabix(
        {"rank", "-d", "eng-ger", forms, Write("forms.txt", "went\tging\tgo\ngone\tgegangen\tgo\ngood\tgut\tgo\n")});
    EXPECT_NE(f.out.find("names the base word for 1 of 3 forms (33.3 %); not for: gone good\n"), std::string::npos)
        << f.out;
}

} // namespace

namespace {

// The shipped samples are what a new user first sees: they must open in both
// directions and the start-up search must list something.
TEST_F(Cli, SampleDictionariesOpenAndFindTheStartUpWord)
{
    const std::string samples = VOKABIX_SAMPLES;
    const CliRun x = Vokabix({"search", samples + "/GerEng.dat", "x", "--records"});
    ASSERT_EQ(x.status, 0) << x.err;
    EXPECT_GE(std::stoi(x.out.substr(6)), 10);
    const CliRun house = Vokabix({"search", "-d", "eng-ger", samples + "/EngGer.dat", "house"});
    ASSERT_EQ(house.status, 0) << house.err;
    EXPECT_NE(house.out.find("Haus"), std::string::npos);
    const CliRun strongs = Vokabix({"strongs", samples + "/strongs.dat", "--records"});
    ASSERT_EQ(strongs.status, 0);
    const int lines = std::stoi(strongs.out.substr(6));
    EXPECT_GT(lines, 50);
    // Every line of the sample is a record.
    EXPECT_EQ(std::count(strongs.out.begin(), strongs.out.end(), '\n'), lines + 1);
}

} // namespace
