// The dictionary file of the current direction, on the DictionaryFile it is
// handed: opening and mapping it, finding where its data begins, the bytes
// the search reads, and letting it go. File work only: the list, the menus
// and what the user is told are the windows' part.
#pragma once
#include "../search.h"
#include "dictionary_append.h"
#include "file_state.h"

// Opens and maps d.fileName as a new dictionary: a list found in an earlier
// open is not the new file's. False, with nothing held, when it cannot be
// opened.
bool OpenDictionaryFile(DictionaryFile& d);
enum class Reopened {
    NotOpened, // nothing is held
    SameFile,  // the file the list was found in, only grown: the list holds
    OtherFile, // another file, or one changed before the append: a list
               // found earlier is not this file's
};

// The open after an append. It keeps the list only when the file is
// provably the one appended to, unchanged up to where the list's file
// ended: the same identity when the list was found, at the append and now,
// and the size before the append that the list's file had. Editors that
// save by renaming put another file in the place of the old one, and on
// Wine a Linux program can do so even while the file is held.
Reopened ReopenDictionaryFile(DictionaryFile& d, const AppendOutcome& appended);
void SkipDictionaryHeader(DictionaryFile& d, const char* marker);
// Releases view, mapping and file.
void CloseDictionaryFile(DictionaryFile& d);

// The data of the open dictionary as the search reads it; no bytes while
// none is open.
DictionaryView SearchableBytes(const DictionaryFile& d);
