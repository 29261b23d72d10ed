// Turns one typed line into a dictionary line in the fixed-column form:
// source padded with blanks, "*" in column 43, translation, CR LF.
#pragma once
#include <cstdint>

#include "dictionary_format.h"

enum class ComposeOutcome {
    Composed,       // the EntryRecord holds the new line
    NoSourceMarker, // English to German without the colon that ends the source
    SourceTooLong,  // the source has more than 40 bytes
    NothingToAdd,   // only blanks and colons follow a closed group
    EmptyPart,      // the source or the translation would be empty
    NoLetterFirst,  // the source does not begin with a byte an entry can begin with
};

// The edit field is read with room for 127 bytes; the composer never looks
// further, whatever it is given.
constexpr uint32_t kMaxEntryBytes = 127;
constexpr uint32_t kComposeMessageBytes = 64;

extern const char kNoSourceMarkerMessage[];
extern const char kNoLetterFirstMessage[];
extern const char kSourceEntryErrorCaption[];

// Splits text by the direction's rules. On Composed the record holds the
// line; otherwise it is left untouched. message receives the text to show
// for NoSourceMarker, SourceTooLong and NoLetterFirst, and an empty string
// otherwise.
ComposeOutcome ComposeEntry(const unsigned char* text, uint32_t length, DictionaryDirection direction,
                            EntryRecord& record, char (&message)[kComposeMessageBytes]);

const char* OutcomeName(ComposeOutcome outcome);
