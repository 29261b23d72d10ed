// The append's promise: the whole line is in the file, or nothing of it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "data/entry_append.h"
#include "test_bytes.h"

namespace {

// A real file, with seams that model the disk: room is what is left on it
// (a write takes what fits and succeeds; the next call fails, as on a disk
// that fills up), perCall the most one call takes even with room to spare.
class PosixTarget : public AppendTarget {
public:
    PosixTarget(int fd, long room, uint32_t perCall = UINT32_MAX) : fd_(fd), room_(room), perCall_(perCall) {}

    bool Size(uint64_t& size) override
    {
        struct stat info;
        if (fstat(fd_, &info) != 0)
            return false;
        size = static_cast<uint64_t>(info.st_size);
        return true;
    }
    bool ReadAt(uint64_t offset, unsigned char* bytes, uint32_t count) override
    {
        return pread(fd_, bytes, count, static_cast<off_t>(offset)) == static_cast<ssize_t>(count);
    }
    bool WriteAtEnd(const unsigned char* bytes, uint32_t length, uint32_t& written) override
    {
        written = 0;
        ++writeCalls;
        if (lseek(fd_, 0, SEEK_END) < 0)
            return false;
        uint32_t want = length < perCall_ ? length : perCall_;
        if (room_ >= 0 && static_cast<uint32_t>(room_) < want)
            want = static_cast<uint32_t>(room_);
        if (want == 0)
            return perCall_ == 0; // a full disk fails the call; a stuck one takes nothing
        const ssize_t done = write(fd_, bytes, want);
        if (done < 0)
            return false;
        written = static_cast<uint32_t>(done);
        if (room_ >= 0)
            room_ -= done;
        return true;
    }
    bool Truncate(uint64_t size) override
    {
        ++truncations;
        return !failTruncate && ftruncate(fd_, static_cast<off_t>(size)) == 0;
    }
    bool Flush() override { return fsync(fd_) == 0; }

    int writeCalls = 0;
    int truncations = 0;
    bool failTruncate = false;

private:
    int fd_;
    long room_;
    uint32_t perCall_;
};

class Append : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/vokabix-append-XXXXXX";
        fd_ = mkstemp(pattern);
        ASSERT_GE(fd_, 0);
        path_ = pattern;
        const std::string header = GerEngFile(FixedLine("Haus", "house"));
        ASSERT_EQ(write(fd_, header.data(), header.size()), static_cast<ssize_t>(header.size()));
        before_ = header;
    }
    void TearDown() override
    {
        close(fd_);
        unlink(path_.c_str());
    }
    std::string Contents() const
    {
        std::ifstream in(path_, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    int fd_ = -1;
    std::string path_;
    std::string before_;
};

TEST_F(Append, WholeLineLandsAtTheEnd)
{
    PosixTarget file(fd_, -1);
    const std::string line = FixedLine("Hof", "yard");
    EXPECT_EQ(AppendLine(file, Bytes(line), Size(line)), AppendResult::Appended);
    const std::string second = FixedLine("Hut", "hat");
    EXPECT_EQ(AppendLine(file, Bytes(second), Size(second)), AppendResult::Appended);
    EXPECT_EQ(Contents(), before_ + line + second);
    EXPECT_EQ(file.truncations, 0);
}

// Editors often save the last line without its CR LF; the new entry must
// still start a line of its own, with every old byte left as it was.
TEST_F(Append, ALastLineWithoutItsLineEndGetsOneFirst)
{
    const std::string line = FixedLine("Hof", "yard");
    const struct {
        std::string tail;
        std::string added;
    } cases[] = {{"", ""}, {"*house", "\r\n"}, {"*house\r", "\n"}, {"*house\n", "\r\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE("tail '" + c.tail + "'");
        ASSERT_EQ(ftruncate(fd_, 0), 0);
        const std::string old = c.tail.empty() ? "" : "GerEng Data Starts Here:\r\nHaus" + c.tail;
        ASSERT_EQ(pwrite(fd_, old.data(), old.size(), 0), static_cast<ssize_t>(old.size()));
        PosixTarget file(fd_, -1);
        EXPECT_EQ(AppendLine(file, Bytes(line), Size(line)), AppendResult::Appended);
        EXPECT_EQ(Contents(), old + c.added + line);
    }
}

// A full disk takes part of the line and fails the call after; what got
// there is cut off again.
TEST_F(Append, FullDiskIsCutBackToTheOldSize)
{
    for (long room : {0L, 1L, 20L, 50L}) {
        PosixTarget file(fd_, room);
        const std::string line = FixedLine("Haus", "house");
        EXPECT_EQ(AppendLine(file, Bytes(line), Size(line)), AppendResult::NotWritten) << room;
        EXPECT_EQ(Contents(), before_) << room;
        EXPECT_EQ(file.writeCalls, room == 0 ? 1 : 2) << "the rest is asked for after a short write";
    }
}

// A call may take less than asked and succeed; the rest follows until the
// line is whole. A call that takes nothing ends it, rather than asking
// forever.
TEST_F(Append, ShortWritesAreFollowedByTheRest)
{
    const std::string line = FixedLine("Hof", "yard");
    PosixTarget file(fd_, -1, 7);
    EXPECT_EQ(AppendLine(file, Bytes(line), Size(line)), AppendResult::Appended);
    EXPECT_EQ(Contents(), before_ + line);
    EXPECT_EQ(file.writeCalls, static_cast<int>((line.size() + 6) / 7));

    PosixTarget stuck(fd_, -1, 0);
    EXPECT_EQ(AppendLine(stuck, Bytes(line), Size(line)), AppendResult::NotWritten);
    EXPECT_EQ(stuck.writeCalls, 1);
    EXPECT_EQ(Contents(), before_ + line);
}

TEST_F(Append, ReportsWhenTheCutBackFailsToo)
{
    PosixTarget file(fd_, 10);
    file.failTruncate = true;
    const std::string line = FixedLine("Haus", "house");
    EXPECT_EQ(AppendLine(file, Bytes(line), Size(line)), AppendResult::Damaged);
}

TEST_F(Append, AFileThatCannotBeWrittenStaysAsItWas)
{
    const int readOnly = open(path_.c_str(), O_RDONLY);
    ASSERT_GE(readOnly, 0);
    PosixTarget file(readOnly, -1);
    const std::string line = FixedLine("Haus", "house");
    EXPECT_EQ(AppendLine(file, Bytes(line), Size(line)), AppendResult::NotWritten);
    EXPECT_EQ(Contents(), before_);
    close(readOnly);
}

} // namespace
