// DictionaryFile and StrongsList: what the program keeps of its two data
// files while they are open, the dictionary of the current direction and
// the four-column list. Each is a MappedFile with the little the program
// needs besides; the file layer (src/data/win32) works on them.
#pragma once
#include <cstdint>

#include "../../mapping/mapped_file.h"

// Which file on which volume, as the platform numbers them. A file put in
// the place of another under the same name has another number.
struct FileIdentity {
    bool known;
    uint32_t volume;
    uint64_t index;
};

inline bool SameFile(const FileIdentity& a, const FileIdentity& b)
{
    return a.known && b.known && a.volume == b.volume && a.index == b.index;
}

// The open dictionary. fileHandle null means none is open.
struct DictionaryFile : MappedFile {
    const char* fileName;
    uint32_t headerOffset;
    // Counts the maps of a dictionary whose bytes a list cannot rely on: every
    // open by a command, and a re-open after an append that finds another
    // file than the one appended to. A re-open of the file that only grew
    // keeps it, since earlier offsets still reach the same bytes. The painter
    // compares it with the search's to know whether the result table belongs
    // to the file now mapped.
    uint32_t generation;
    // The file the view was made of and its whole size then. Kept after the
    // close, like fileName, for the re-open after an append to compare.
    FileIdentity identity;
    uint64_t sizeAtOpen;
};

// The four-column list, shown in place of the search results until the
// next search.
struct StrongsList : MappedFile {
    int32_t loaded;
    int32_t recordCount; // rows below this hold a record of this load
};
