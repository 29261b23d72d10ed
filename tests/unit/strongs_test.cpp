#include <gtest/gtest.h>

#include <string>

#include "data/strongs_list.h"
#include "test_bytes.h"

namespace {

std::string Column(const std::string& text)
{
    return text + std::string(kStrongsColumnBytes - text.size(), ' ');
}

std::string Record(const std::string& a, const std::string& b, const std::string& c, const std::string& d)
{
    return "\xFB" + Column(a) + Column(b) + Column(c) + d + "\r\n";
}

struct Loaded {
    std::string file;
    ResultTable table;
    StrongsLoad load;

    explicit Loaded(std::string bytes) : file(std::move(bytes))
    {
        load = ReadStrongsList(Bytes(file), Size(file), table);
    }
    std::string Text(int slot, int column) const
    {
        const StrongsColumn& c = table.strongs[slot].columns[column];
        return file.substr(c.position, c.length);
    }
};

TEST(StrongsList, RecordLinesFillTheSlotsInOrder)
{
    std::string file;
    for (int i = 0; i < 7; ++i)
        file += Record("gehen", "ging", "gegangen", "to go " + std::to_string(i));
    Loaded l(file);
    EXPECT_EQ(l.load.lineCount, 7);
    ASSERT_EQ(l.load.recordCount, 7);
    EXPECT_EQ(l.Text(0, 0), Column("gehen"));
    EXPECT_EQ(l.Text(0, 1), Column("ging"));
    EXPECT_EQ(l.Text(0, 2), Column("gegangen"));
    EXPECT_EQ(l.Text(6, 3), "to go 6");
    EXPECT_EQ(l.table.strongs[1].columns[0].position, l.file.find("\xFB", 1) + 1);
}

TEST(StrongsList, ColumnsAreTakenWholeWhateverTheyHold)
{
    Loaded l("\xFB" "a*b\r\n" + std::string(46, 'x') + "fourth\r\n");
    ASSERT_EQ(l.load.recordCount, 1);
    EXPECT_EQ(l.Text(0, 0), "a*b\r\n" + std::string(12, 'x'));
    EXPECT_EQ(l.Text(0, 3), "fourth");
    EXPECT_EQ(l.load.lineCount, 2);
}

TEST(StrongsList, OtherLinesAreCrossedTwoBytesAtATime)
{
    const std::string record = Record("a", "b", "c", "d");
    // "xy" + CR LF is 4 bytes: the record after it is found.
    Loaded even("xy\r\n" + record);
    EXPECT_EQ(even.load.lineCount, 2);
    EXPECT_EQ(even.load.recordCount, 1);
    // "xyz" + CR LF is 5 bytes: the crossing steps over the mark.
    Loaded odd("xyz\r\n" + record);
    EXPECT_EQ(odd.load.lineCount, 2);
    EXPECT_EQ(odd.load.recordCount, 0);
    // A mark met at an even distance starts a record in mid-line.
    Loaded middle("ab" + record);
    EXPECT_EQ(middle.load.recordCount, 1);
    EXPECT_EQ(middle.Text(0, 3), "d");
}

TEST(StrongsList, AtMost250RecordsAndTheLinesStillCounted)
{
    std::string file;
    for (int i = 0; i < 300; ++i)
        file += Record("v", "p", "pp", std::to_string(i));
    Loaded l(file);
    EXPECT_EQ(l.load.lineCount, 300);
    EXPECT_EQ(l.load.recordCount, 250);
    EXPECT_EQ(l.Text(249, 3), "249");
}

TEST(StrongsList, RecordCutShortStopsAtTheEndOfTheFile)
{
    Loaded noCrLf(Record("a", "b", "c", "d") + "\xFB" + Column("e") + Column("f") + Column("g") + "meaning");
    ASSERT_EQ(noCrLf.load.recordCount, 2);
    EXPECT_EQ(noCrLf.Text(1, 3), "meaning");
    EXPECT_EQ(noCrLf.load.lineCount, 1);

    Loaded inColumns("\xFB" "short");
    ASSERT_EQ(inColumns.load.recordCount, 1);
    EXPECT_EQ(inColumns.Text(0, 0), "short");
    for (int c = 1; c < 4; ++c) {
        EXPECT_EQ(inColumns.table.strongs[0].columns[c].length, 0u);
        EXPECT_LE(inColumns.table.strongs[0].columns[c].position, 6u);
    }
    Loaded markOnly("\xFB");
    EXPECT_EQ(markOnly.load.recordCount, 1);
    EXPECT_EQ(markOnly.table.strongs[0].columns[3].position, 1u);
}

TEST(StrongsList, EmptyOrMissingFileLeavesNoTraceOfAnEarlierList)
{
    ResultTable table;
    for (unsigned char& b : table.bytes)
        b = 0xAB;
    const StrongsLoad missing = ReadStrongsList(nullptr, 0, table);
    EXPECT_EQ(missing.lineCount, 0);
    EXPECT_EQ(missing.recordCount, 0);
    for (unsigned char b : table.bytes)
        ASSERT_EQ(b, 0);

    for (unsigned char& b : table.bytes)
        b = 0xAB;
    const std::string one = Record("a", "b", "c", "d") + "not a record\r\n";
    const StrongsLoad load = ReadStrongsList(Bytes(one), Size(one), table);
    EXPECT_EQ(load.lineCount, 2);
    EXPECT_EQ(load.recordCount, 1);
    for (size_t i = sizeof(StrongsRecord); i < sizeof(table.bytes); ++i)
        ASSERT_EQ(table.bytes[i], 0) << i;
}

} // namespace
