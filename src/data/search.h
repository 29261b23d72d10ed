// Prefix search over a mapped dictionary: one forward pass, no index, no
// copies. Results are offsets into the mapped file.
#pragma once
#include <cstdint>

#include "../shared/result_table.h"
#include "../shared/shared_types.h"

// The bytes of an open dictionary as the search sees them. view may be null
// (no dictionary open); headerOffset may be kNoMarker (no data).
struct DictionaryView {
    const unsigned char* view;
    uint32_t fileSize;
    uint32_t headerOffset;
};

// Fills list.table with the lines of [dataBegin, dataEnd) whose text from the
// first word-start byte on begins with text, in file order: the first 499
// matches and, in slot 499, the last one. Returns the new resultCount.
int32_t ScanDictionary(const unsigned char* view, uint32_t dataBegin, uint32_t dataEnd,
                       const unsigned char* text, uint32_t length, ResultList& list);

// The ways the scan can look at the data, plainest first. All give the same
// records; they differ in how many bytes one step looks at.
enum class ScanPath : uint8_t {
    Portable, // memchr for every line end
    Sse2,     // 16 bytes a step
    Avx2,     // 32 bytes a step
};

struct ScanPaths {
    ScanPath path[3];
    uint32_t count;
};

// The paths this build and this processor can run, plainest first: a path
// needs its instructions and, for AVX2, a system that saves the wide
// registers. The last is the one ScanDictionary takes.
ScanPaths RunnableScanPaths();
const char* ScanPathName(ScanPath path);

// ScanDictionary on a chosen path, for tests and the bench. A path this
// machine cannot run is replaced by the widest one it can.
int32_t ScanDictionaryOn(ScanPath path, const unsigned char* view, uint32_t dataBegin, uint32_t dataEnd,
                         const unsigned char* text, uint32_t length, ResultList& list);

// The whole search: fills the table with the dictionary's matches as
// dictionary rows and returns their count, the new resultCount. Where the
// list stands and what it draws is the list layer's (StartNewList). A
// loaded four-column list must have been closed before.
int32_t SearchDictionary(const DictionaryView& dictionary, const unsigned char* text, uint32_t length,
                         ResultList& list);
