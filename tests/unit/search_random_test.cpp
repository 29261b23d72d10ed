// The search against the byte-at-a-time walk on random bytes: files from a
// small alphabet full of the awkward cases (lone CR and LF, CR LF at the very
// end, lines and long stretches without a word-start byte, stars, umlauts),
// and texts drawn from that alphabet and from the files themselves, so some
// begin with a blank or hold a CR LF.
#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <random>
#include <string>

#include "data/search.h"
#include "reference_search.h"
#include "test_bytes.h"

namespace {

// '@' and '{' sit right outside A..z, 'z' right inside.
const char kAlphabet[] = {'\r', '\n', '*', ' ', '7', 'a', 'b', 'S', 'z', '\xFC', '(', '@', '{', '\xDF'};

std::string RandomText(std::mt19937& rng, size_t maxLength)
{
    std::string text(std::uniform_int_distribution<size_t>(1, maxLength)(rng), ' ');
    for (char& c : text)
        c = kAlphabet[rng() % std::size(kAlphabet)];
    return text;
}

// Pieces rather than single bytes, so the files have lines, runs of lines
// that start alike, and stretches without any word-start byte long enough to
// span several blocks of the fast scan.
std::string RandomFile(std::mt19937& rng)
{
    static const char* const pieces[] = {"\r\n", "\r\n", "\r\n", "a", "ab", "S", "Sa", ("\xFC" "b"), "b",
                                         "*", " ", "7", "(", "\r", "\n", "\n\r", "\r\r\n", "aaaa"};
    const int shape = std::uniform_int_distribution<int>(0, 19)(rng);
    const size_t target = shape == 0 ? 6000 : std::uniform_int_distribution<size_t>(0, 400)(rng);
    std::string file;
    while (file.size() < target) {
        if (shape == 0) {
            // Dense: more than 500 lines begin alike.
            file += rng() % 4 ? "a*1\r\n" : "ab\r\n";
        } else if (rng() % 40 == 0) {
            const size_t run = std::uniform_int_distribution<size_t>(1, 150)(rng);
            for (size_t i = 0; i < run; ++i)
                file += " \r\n7*(@{\xDF"[rng() % 9];
        } else if (shape == 1) {
            file += kAlphabet[rng() % std::size(kAlphabet)];
        } else {
            file += pieces[rng() % std::size(pieces)];
        }
    }
    return file;
}

// A third of the texts from the alphabet, the rest copied out of the data,
// mostly from where a line seems to start so that they often match.
std::string RandomPrefix(std::mt19937& rng, const std::string& data)
{
    if (data.empty() || rng() % 3 == 0)
        return RandomText(rng, 3);
    size_t at = rng() % data.size();
    if (rng() % 4 != 0) {
        at = data.find('\n', at);
        while (at < data.size() && !IsWordStart(static_cast<unsigned char>(data[at])))
            ++at;
        if (at >= data.size())
            at = 0;
    }
    const size_t length = std::uniform_int_distribution<size_t>(1, 8)(rng);
    return data.substr(at, length);
}

// Compares every record, on every path this machine can run, and checks
// that the slots past the count were left as they were.
::testing::AssertionResult SameAsLiteralWalk(const unsigned char* view, uint32_t begin, uint32_t end,
                                             const std::string& text)
{
    static ResultRecord expected[kResultCapacity];
    static ResultList list;
    const int32_t want = ReferenceScan(view, begin, end, Bytes(text), Size(text), expected);
    const ScanPaths paths = RunnableScanPaths();
    for (uint32_t p = 0; p < paths.count; ++p) {
        const char* const path = ScanPathName(paths.path[p]);
        InitResultList(list);
        std::memset(list.table.bytes, 0xA5, sizeof list.table.bytes);
        const int32_t got = ScanDictionaryOn(paths.path[p], view, begin, end, Bytes(text), Size(text), list);
        if (got != want)
            return ::testing::AssertionFailure() << path << ": " << got << " records, the literal walk gives " << want;
        for (int32_t i = 0; i < got; ++i) {
            const ResultRecord& g = list.table.results[i];
            const ResultRecord& w = expected[i];
            if (g.source != w.source || g.sourceLength != w.sourceLength || g.translation != w.translation ||
                g.translationLength != w.translationLength)
                return ::testing::AssertionFailure() << path << ": slot " << i << " differs";
        }
        for (size_t b = static_cast<size_t>(got) * sizeof(ResultRecord); b < sizeof list.table.bytes; ++b)
            if (list.table.bytes[b] != 0xA5)
                return ::testing::AssertionFailure() << path << ": table byte " << b << " past the records was written";
    }
    return ::testing::AssertionSuccess();
}

std::string Shown(const std::string& bytes)
{
    return ::testing::PrintToString(bytes);
}

TEST(SearchRandom, SameRecordsAsTheLiteralWalk)
{
    std::mt19937 rng(7031);
    int pairs = 0;
    int full = 0;
    int matched = 0;
    for (int round = 0; round < 1500; ++round) {
        const std::string file = RandomFile(rng);
        // The data may begin anywhere, on a CR LF or inside one, and end
        // before the buffer does.
        const uint32_t size = Size(file);
        const uint32_t begin = size == 0 ? 0 : std::uniform_int_distribution<uint32_t>(0, size / 4)(rng);
        const uint32_t end = rng() % 4 ? size : std::uniform_int_distribution<uint32_t>(begin, size)(rng);
        for (int k = 0; k < 8; ++k) {
            const std::string text = RandomPrefix(rng, file.substr(begin, end - begin));
            ASSERT_TRUE(SameAsLiteralWalk(Bytes(file), begin, end, text))
                << "round " << round << ", data [" << begin << ", " << end << ") of " << Shown(file)
                << ", text " << Shown(text);
            static ResultRecord scratch[kResultCapacity];
            const int32_t count = ReferenceScan(Bytes(file), begin, end, Bytes(text), Size(text), scratch);
            full += count == kResultCapacity;
            matched += count > 0;
            ++pairs;
        }
    }
    EXPECT_GE(pairs, 10000);
    // The generator must keep producing both kinds of search.
    EXPECT_GT(full, 50);
    EXPECT_GT(matched, pairs / 4);
}

// The wide scans read 16 or 32 bytes at a time, one byte ahead and two
// back. Data that ends at, or begins at, an unmapped page must still be
// searched without touching it, on every path.
TEST(SearchRandom, ReadsNothingOutsideTheData)
{
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    void* mapping = mmap(nullptr, 3 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(mapping, MAP_FAILED);
    unsigned char* const middle = static_cast<unsigned char*>(mapping) + page;
    ASSERT_EQ(mprotect(mapping, page, PROT_NONE), 0);
    ASSERT_EQ(mprotect(middle + page, page, PROT_NONE), 0);

    std::mt19937 rng(5);
    for (int round = 0; round < 300; ++round) {
        std::string file = RandomFile(rng);
        if (file.size() > page)
            file.resize(page);
        const std::string text = RandomPrefix(rng, file);
        // Flush with the end of the page, then with its start: the view is
        // the data itself, so offsets run from 0.
        for (unsigned char* at : {middle + page - file.size(), middle}) {
            std::memcpy(at, file.data(), file.size());
            ASSERT_TRUE(SameAsLiteralWalk(at, 0, Size(file), text))
                << "round " << round << ", data " << Shown(file) << ", text " << Shown(text);
        }
    }
    munmap(mapping, 3 * page);
}

// Cases the random files hit only now and then, each built on purpose.
TEST(SearchRandom, LineStartsFoundAcrossLongStretches)
{
    const std::string blanks(200, ' ');
    const std::string crossings[] = {
        // Blank lines spanning several blocks before the line start.
        "x\r\n" + blanks + "\r\n\r\n" + blanks + "ab*1\r\nab*2\r\n",
        // A CR LF pair split by the end of a block or of one of its vectors,
        // at every offset.
        std::string(61, 'a') + "\r\nab*1\r\n" + std::string(62, 'b') + "\r\nab*2\r\n",
        // Many CR LFs in one stretch without a word-start byte: one line.
        "q\r\n" + std::string(70, '\r') + "\n\r\n\r\n 7 \r\n  (ab*x\r\n",
        // Lone CR and LF are no line end; CR LF as the last two data bytes.
        "ab\rab\nab\r\n\nab\r\r\nab*\r\nab\r\n",
        // The text runs into the next line.
        "ab\r\nab*\r\nab\r\n",
        // Lone LFs in front of letters, far enough in for the wide steps.
        std::string(66, '7') + "ab\nab*1\r\nab\n\nab*2\r\n\nb" + std::string(66, 'c'),
    };
    const std::string texts[] = {"ab", "a", "ab*", "b\r\na", "\r\n", "ab\r", "b", "ab\r\nab", ""};
    for (const std::string& data : crossings)
        for (int shift = 0; shift < 32; ++shift) {
            const std::string file = std::string(static_cast<size_t>(shift), '7') + data;
            for (const std::string& text : texts)
                ASSERT_TRUE(SameAsLiteralWalk(Bytes(file), 0, Size(file), text))
                    << "data " << Shown(file) << ", text " << Shown(text);
        }
    // Known answers for two of them, in case both scans were wrong alike.
    static ResultList list;
    InitResultList(list);
    const std::string& stretch = crossings[2];
    ASSERT_EQ(ScanDictionary(Bytes(stretch), 0, Size(stretch), Bytes("ab"), 2, list), 1);
    EXPECT_EQ(list.table.results[0].source, stretch.find("ab"));
    const std::string& lone = crossings[3];
    // "ab\rab\nab" is one line, "ab\r\r\n" ends with its CR LF.
    ASSERT_EQ(ScanDictionary(Bytes(lone), 0, Size(lone), Bytes("ab"), 2, list), 4);
    EXPECT_EQ(list.table.results[1].source, lone.find("\nab\r\r") + 1);
}

// The widest path is the one every search takes, so it must be one the
// processor really runs; libgcc's own cpuid and XGETBV reading is the check.
TEST(SearchRandom, PathsFollowTheProcessor)
{
    const ScanPaths paths = RunnableScanPaths();
    ASSERT_GE(paths.count, 1u);
    EXPECT_EQ(paths.path[0], ScanPath::Portable);
    bool avx2 = false;
    for (uint32_t p = 1; p < paths.count; ++p) {
        EXPECT_LT(paths.path[p - 1], paths.path[p]);
        avx2 = avx2 || paths.path[p] == ScanPath::Avx2;
    }
#if defined(__SSE2__)
    EXPECT_EQ(paths.path[1], ScanPath::Sse2);
#endif
#if defined(__i386__) || defined(__x86_64__)
    __builtin_cpu_init();
    EXPECT_EQ(avx2, __builtin_cpu_supports("avx2") != 0);
#endif
}

} // namespace
