// DictionaryFile and StrongsList: what the program keeps of its two data
// files while they are open, the dictionary of the current direction and
// the four-column list. Each is a MappedFile with the little the program
// needs besides; the file layer (src/data/win32) works on them.
#pragma once
#include <cstdint>

#include "mapped_file.h"

// The open dictionary. fileHandle null means none is open.
struct DictionaryFile : MappedFile {
    const char* fileName;
    uint32_t headerOffset;
    // Counts the opens of a dictionary by a command. The re-open after an
    // append keeps it: the file only grew, so earlier offsets still reach the
    // same bytes. The painter compares it with the search's to know whether
    // the result table belongs to the file now mapped.
    uint32_t generation;
};

// The four-column list, shown in place of the search results until the
// next search.
struct StrongsList : MappedFile {
    int32_t loaded;
    int32_t recordCount; // rows below this hold a record of this load
};
