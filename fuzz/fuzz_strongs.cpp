// Fuzz target for the four-column list reader. The input is the whole
// strongs.dat file. The reader's records are compared with a walk that counts
// the bytes left one by one, and each record is checked against the file.
#include <cstdint>
#include <cstring>
#include <memory>

#include "data/strongs_list.h"
#include "fuzz_check.h"

namespace {

constexpr unsigned char kStaleByte = 0xC7;

int32_t CountCrLf(const unsigned char* file, uint32_t size)
{
    int32_t lines = 0;
    for (uint64_t at = 0; at < size;) {
        if (IsCrLfAt(file, at, size)) {
            ++lines;
            at += 2;
        } else {
            ++at;
        }
    }
    return lines;
}

// Reads the records the slow way: a position and the bytes left, a mark
// starts a record, any other byte moves on by two. Returns every record the
// file holds; only the first kStrongsCapacity are stored.
int32_t ExpectedRecords(const unsigned char* file, uint32_t size, StrongsRecord* slots)
{
    int32_t count = 0;
    uint32_t at = 0;
    uint32_t left = size;
    const auto step = [&](uint32_t n) {
        at += n;
        left -= n;
    };
    while (left > 0) {
        if (file[at] != kStrongsMark) {
            step(left < 2 ? left : 2);
            continue;
        }
        step(1);
        StrongsRecord record;
        for (int c = 0; c < 3; ++c) {
            const uint32_t n = left < kStrongsColumnBytes ? left : kStrongsColumnBytes;
            record.columns[c] = {at, n};
            step(n);
        }
        const uint32_t fourth = at;
        while (left > 0 && !IsCrLfAt(file, at, size))
            step(1);
        record.columns[3] = {fourth, at - fourth};
        if (left > 0)
            step(2);
        if (count < kStrongsCapacity)
            slots[count] = record;
        ++count;
    }
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ExactCopy file(data, size);
    const unsigned char* const bytes = file.data();
    const uint32_t fileSize = file.size();

    // The table as a search left it: nothing of that may survive the load.
    auto table = std::make_unique<ResultTable>();
    std::memset(table.get(), kStaleByte, sizeof(ResultTable));
    const StrongsLoad load = ReadStrongsList(bytes, fileSize, *table);

    FUZZ_CHECK(load.lineCount == CountCrLf(bytes, fileSize));
    FUZZ_CHECK(load.recordCount >= 0 && load.recordCount <= kStrongsCapacity);

    auto expected = std::make_unique<StrongsRecord[]>(kStrongsCapacity);
    const int32_t found = ExpectedRecords(bytes, fileSize, expected.get());
    FUZZ_CHECK(load.recordCount == (found < kStrongsCapacity ? found : kStrongsCapacity));

    for (int32_t i = 0; i < load.recordCount; ++i) {
        const StrongsRecord& r = table->strongs[i];
        FUZZ_CHECK(std::memcmp(&r, &expected[i], sizeof(StrongsRecord)) == 0);
        FUZZ_CHECK(r.columns[0].position >= 1 && bytes[r.columns[0].position - 1] == kStrongsMark);
        for (int c = 0; c < 4; ++c) {
            const uint64_t end = uint64_t{r.columns[c].position} + r.columns[c].length;
            FUZZ_CHECK(end <= fileSize);
            if (c < 3) {
                // Short only where the file ends.
                FUZZ_CHECK(r.columns[c].length <= kStrongsColumnBytes);
                FUZZ_CHECK(r.columns[c].length == kStrongsColumnBytes || end == fileSize);
                FUZZ_CHECK(r.columns[c + 1].position == end);
            }
        }
        const StrongsColumn& last = r.columns[3];
        for (uint64_t at = last.position; at < uint64_t{last.position} + last.length; ++at)
            FUZZ_CHECK(!IsCrLfAt(bytes, at, fileSize));
        const uint64_t lastEnd = uint64_t{last.position} + last.length;
        FUZZ_CHECK(lastEnd == fileSize || IsCrLfAt(bytes, lastEnd, fileSize));
        FUZZ_CHECK(i == 0 || r.columns[0].position > table->strongs[i - 1].columns[3].position);
    }
    // Rows without a record of this load must read as empty, never as what
    // an earlier list left in the slot.
    const unsigned char* rest = table->bytes + static_cast<size_t>(load.recordCount) * kStrongsStride;
    for (; rest < table->bytes + kResultTableBytes; ++rest)
        FUZZ_CHECK(*rest == 0);
    return 0;
}
