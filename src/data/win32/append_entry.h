// Adding a typed entry to the dictionary file: compose it, and append the
// line. File work only; what the user is told is the add-word dialog's part.
#pragma once
#include <cstdint>

#include "../entry_append.h"
#include "../entry_composer.h"

// What became of a typed entry: refused by the composer (with the text to
// show, if any), or composed and then appended, not written, or written in
// part that could not be taken out again.
struct EntryAddition {
    ComposeOutcome compose;
    AppendResult append; // only for Composed
    char message[kComposeMessageBytes];
};

// Composes the entry by the direction's rules. A refused entry leaves the
// dictionary as it is; a composed one closes it (it is held without
// sharing), appends the line and leaves the file closed for
// ReopenDictionaryAfterAppend.
EntryAddition AddEntryToDictionary(const unsigned char* text, uint32_t length, DictionaryDirection direction);

// Tests set this to make the next write stop after that many bytes and fail,
// as a full disk would; negative means no limit.
extern int32_t appendWriteLimitForTests;
