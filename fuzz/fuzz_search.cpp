// Fuzz target for the marker search and the dictionary search.
//
// Input layout:
//   byte 0   search text length, taken modulo 81 (0 to 80 bytes)
//   byte 1   bit 0: 0 German to English, 1 English to German (which marker
//            ends the header); bits 1 to 7 unused (they gave the list's page
//            height while the search set the scroll state; the corpus keeps them)
//   then     the search text (cut short if the input ends first)
//   the rest the dictionary file
//
// The search is checked against a plain walk over the data that counts the
// bytes left one at a time, the way the format describes the scan, and each
// record is also checked on its own against the file's bytes. The walk
// measures records from tables of the next "*" and the next CR LF, so that a
// file with hundreds of matches still runs in linear time and the fuzzer
// keeps its speed.
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "data/dictionary_format.h"
#include "data/search.h"
#include "fuzz_check.h"

namespace {

constexpr unsigned char kStaleByte = 0xA5;

bool BeginsWord(unsigned char byte)
{
    switch (byte) {
    case 0xE4: case 0xC4: case 0xF6: case 0xD6: case 0xFC: case 0xDC: case 0xFB:
        return true;
    default:
        return byte >= 'A' && byte <= 'z';
    }
}

// The first occurrence of the marker, found the plainest possible way.
uint32_t NaiveHeaderEnd(const unsigned char* file, uint32_t size, const char* marker)
{
    for (uint64_t p = 0; p + kMarkerLength <= size; ++p) {
        if (std::memcmp(file + p, marker, kMarkerLength) == 0)
            return static_cast<uint32_t>(p + kMarkerLength);
    }
    return kNoMarker;
}

// For every position of the file (and its end): where the next "*" stands,
// and where the next CR LF begins that lies wholly inside the file; the
// file's size where there is none.
struct NextTables {
    std::vector<uint32_t> star;
    std::vector<uint32_t> lineEnd;

    NextTables(const unsigned char* file, uint32_t size) : star(size + 1u), lineEnd(size + 1u)
    {
        star[size] = size;
        lineEnd[size] = size;
        for (uint32_t i = size; i-- > 0;) {
            star[i] = file[i] == '*' ? i : star[i + 1];
            lineEnd[i] = IsCrLfAt(file, i, size) ? i : lineEnd[i + 1];
        }
    }
};

ResultRecord ExpectedRecord(const NextTables& next, uint32_t size, uint32_t lineStart)
{
    const uint32_t star = next.star[lineStart];
    if (star == size)
        return {lineStart, size - lineStart, size, 0};
    return {lineStart, star - lineStart, star + 1, next.lineEnd[star + 1] - (star + 1)};
}

// The scan over [begin, size): compare at the line start; from where the
// comparison stopped move to the next CR LF and over it; pass over every byte
// that cannot begin a word. Fills slots like the search does: the first
// capacity - 1 matches, then the last match in the last slot.
int32_t ExpectedResults(const unsigned char* file, uint32_t begin, uint32_t size, const unsigned char* text,
                        uint32_t length, const NextTables& next, ResultRecord* slots)
{
    int32_t count = 0;
    uint32_t pos = begin;
    uint32_t left = size - begin;
    while (left > 0) {
        const uint32_t lineStart = pos;
        uint32_t agreed = 0;
        while (agreed < length && left > 0 && file[pos] == text[agreed]) {
            ++pos;
            --left;
            ++agreed;
        }
        if (agreed == length) {
            if (count < kResultCapacity)
                ++count;
            slots[count - 1] = ExpectedRecord(next, size, lineStart);
        }
        while (left > 0) {
            if (IsCrLfAt(file, pos, size)) {
                pos += 2;
                left -= 2;
                break;
            }
            ++pos;
            --left;
        }
        while (left > 0 && !BeginsWord(file[pos])) {
            ++pos;
            --left;
        }
    }
    return count;
}

void CheckRecord(const ResultRecord& r, const unsigned char* file, uint32_t size, uint32_t dataBegin,
                 const unsigned char* text, uint32_t length, const NextTables& next)
{
    const uint64_t source = r.source;
    const uint64_t sourceEnd = source + r.sourceLength;
    const uint64_t translation = r.translation;
    const uint64_t translationEnd = translation + r.translationLength;

    FUZZ_CHECK(source >= dataBegin && source < size);
    FUZZ_CHECK(sourceEnd <= size);
    FUZZ_CHECK(translationEnd <= size);
    // Only the first line start is taken as it stands; every later one is a
    // word-start byte.
    FUZZ_CHECK(source == dataBegin || BeginsWord(file[source]));
    FUZZ_CHECK(source + length <= size && std::memcmp(file + source, text, length) == 0);
    // The source runs to the first "*", or to the end of the data without one.
    FUZZ_CHECK(next.star[source] == sourceEnd);

    if (sourceEnd == size) {
        FUZZ_CHECK(translation == size);
        FUZZ_CHECK(r.translationLength == 0);
        return;
    }
    FUZZ_CHECK(file[sourceEnd] == kSourceEnd);
    FUZZ_CHECK(translation == sourceEnd + 1);
    // The translation runs to the next CR LF, or to the end of the data.
    FUZZ_CHECK(next.lineEnd[translation] == translationEnd);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    uint32_t length = data[0] % (kMaxSearchChars + 1);
    const DictionaryDirection direction =
        (data[1] & 1) != 0 ? DictionaryDirection::EnglishToGerman : DictionaryDirection::GermanToEnglish;
    data += 2;
    size -= 2;
    if (length > size)
        length = static_cast<uint32_t>(size);
    const ExactCopy text(data, length);
    const ExactCopy file(data + length, size - length);
    const unsigned char* const bytes = file.data();
    const uint32_t fileSize = file.size();

    const char* const marker = InfoFor(direction).marker;
    const uint32_t headerOffset = FindHeaderEnd(bytes, fileSize, marker);
    FUZZ_CHECK(headerOffset == NaiveHeaderEnd(bytes, fileSize, marker));

    // The list as a four-column list and an earlier search might have left
    // it, so that anything the search forgets to reset shows.
    auto list = std::make_unique<ResultList>();
    std::memset(list.get(), kStaleByte, sizeof(ResultList));
    list->resultCapacity = kResultCapacity;
    list->rowStride = kStrongsStride;
    const DictionaryView view{bytes, fileSize, headerOffset};
    const int32_t count = SearchDictionary(view, text.data(), length, *list);

    const uint32_t dataBytes = DataBytes(bytes, fileSize, headerOffset);
    const NextTables next(bytes, fileSize);
    auto expected = std::make_unique<ResultRecord[]>(kResultCapacity);
    const int32_t expectedCount =
        dataBytes == 0 ? 0 : ExpectedResults(bytes, headerOffset, fileSize, text.data(), length, next, expected.get());

    FUZZ_CHECK(count >= 0 && count <= kResultCapacity);
    FUZZ_CHECK(count == expectedCount);
    FUZZ_CHECK(count == list->resultCount);
    for (int32_t i = 0; i < count; ++i) {
        const ResultRecord& r = list->table.results[i];
        FUZZ_CHECK(std::memcmp(&r, &expected[i], sizeof(ResultRecord)) == 0);
        CheckRecord(r, bytes, fileSize, headerOffset, text.data(), length, next);
        FUZZ_CHECK(i == 0 || r.source > list->table.results[i - 1].source);
    }
    // Slots past the count are left as they were.
    const unsigned char* rest = list->table.bytes + static_cast<size_t>(count) * kResultStride;
    const unsigned char* const tableEnd = list->table.bytes + kResultTableBytes;
    for (; rest < tableEnd; ++rest)
        FUZZ_CHECK(*rest == kStaleByte);

    // Every other path this processor runs gives the same table.
    const ScanPaths paths = RunnableScanPaths();
    auto other = std::make_unique<ResultList>();
    for (uint32_t p = 0; p + 1 < paths.count; ++p) {
        std::memcpy(other.get(), list.get(), sizeof(ResultList));
        std::memset(other->table.bytes, kStaleByte, sizeof other->table.bytes);
        const uint32_t begin = dataBytes == 0 ? 0 : headerOffset;
        const int32_t got =
            ScanDictionaryOn(paths.path[p], bytes, begin, begin + dataBytes, text.data(), length, *other);
        FUZZ_CHECK(got == count);
        FUZZ_CHECK(std::memcmp(other->table.bytes, list->table.bytes, sizeof other->table.bytes) == 0);
    }

    FUZZ_CHECK(list->resultCapacity == kResultCapacity);
    FUZZ_CHECK(list->rowStride == kResultStride);
    return 0;
}
