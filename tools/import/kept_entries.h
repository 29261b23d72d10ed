// The entries a user added to a dictionary file, told apart from those an
// earlier import wrote, so that a new import can carry them over: at the end
// of the new file, in their old order, byte for byte.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ding_words.h"
#include "shared/shared_types.h"

// 64-bit FNV-1a, continued from hash.
uint64_t Fnv1a(std::string_view bytes, uint64_t hash = kFnvOffsetBasis);

// The header line that records the imported part of a file: every byte
// after the marker up to the end of the imported entries (the CR LF that
// ends the marker's line, then the entries).
std::string ImportedPartLine(const std::string& entries);

struct ImportedPart {
    bool recorded = false;
    uint64_t length = 0;
    uint64_t hash = 0;
};
ImportedPart FindImportedPart(std::string_view header);

// The value of a header line "Name: value", or empty when it has none.
std::string HeaderField(std::string_view header, std::string_view name);
bool MadeByTheImporter(std::string_view header);
// The word list's version as the header names it, or empty when the word
// list did not state one.
std::string StatedVersion(std::string_view header);

// A dictionary file as the program reads it: the header before the
// direction's marker, the data after it.
struct OldDictionary {
    bool hasMarker = false;
    std::string_view header;
    std::string_view data;
};
OldDictionary SplitDictionary(std::string_view bytes, DictionaryDirection d);

// The lines of data that hold an entry (a byte a word can begin with), each
// without its CR LF; the last line counts without one too.
std::vector<std::string_view> EntryLines(std::string_view data);
// Of lines, those that are not among the CR LF lines of entries, in order.
std::vector<std::string_view> LinesNotIn(const std::vector<std::string_view>& lines, std::string_view entries);

// (a) The file records its imported part and the data still begins with
// it: the lines after it are the ones added since. False otherwise.
bool AddedAfterImportedPart(const OldDictionary& old, std::vector<std::string_view>& added);

// How the kept entries of one file were told apart.
enum class KeptBy : uint8_t {
    NoOldFile,
    NoMarker,          // the old file holds no data
    ImportedPart,      // (a) the lines after its recorded imported part
    SameWordList,      // (b) made from the word list of this version: what the new import lacks
    EarlierWordList,   // (b) compared with the import of the word list it was made from
    WordListNotFound,  // (b) that word list is gone: everything the new import lacks
    NotImported,       // (c) not made by the importer: everything the new import lacks
};

struct KeptEntries {
    KeptBy by = KeptBy::NoOldFile;
    std::vector<std::string_view> lines; // into the old file's bytes
    std::string wordList;                // for EarlierWordList: where it was found
};

// The entries of the import of the word list an old file was made from, for
// one direction; or nullptr when it cannot be found. wordList gets its path.
using EarlierImportFinder =
    std::function<const std::string*(const OldDictionary& old, DictionaryDirection d, std::string& wordList)>;

// Picks the entries of an old file to keep: (a), (b) or (c) above; none
// that the new import holds byte for byte. newFormerLines are the lines an
// import before forms were named wrote where the new one writes a form's
// entry (ImportResult::formerLines): in (b) they are the old import's too.
// The finder's entries include its former lines likewise.
KeptEntries FindKeptEntries(std::string_view oldBytes, DictionaryDirection d, const std::string& newHeader,
                            const std::string& newEntries, const std::string& newFormerLines,
                            const EarlierImportFinder& finder);

// The kept lines as they go into the new file, each with its CR LF.
std::string AsFileLines(const std::vector<std::string_view>& lines);
