// Prefix search over a mapped dictionary: one forward pass, no index, no
// copies. Results are offsets into the mapped file.
#pragma once
#include <cstdint>

#include "../app/list_scroll.h"
#include "../app/result_table.h"
#include "../app/shared_types.h"


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

// The whole search: scans the dictionary's data and starts a new list in the
// scroll state. Returns true when a line matched, which is when the caller
// must hand scrollInfo to the scroll bar; with no match the bar keeps what it
// showed. A loaded four-column list must have been closed before.
bool SearchDictionary(const DictionaryView& dictionary, const unsigned char* text, uint32_t length,
                      ResultList& list, ListScrollState& state);
