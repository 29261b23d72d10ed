// The dictionary file of the current direction, on the DictionaryFile it is
// handed: opening and mapping it, finding where its data begins, the bytes
// the search reads, and letting it go. File work only: the list, the menus
// and what the user is told are the windows' part.
#pragma once
#include "../../app/file_state.h"
#include "../search.h"

// Opens and maps d.fileName as a new dictionary: a list found in an earlier
// open is not the new file's. False, with nothing held, when it cannot be
// opened.
bool OpenDictionaryFile(DictionaryFile& d);
// The open after an append: the same file, grown at its end, so the result
// table's offsets still reach the same bytes.
bool ReopenDictionaryFile(DictionaryFile& d);
void SkipDictionaryHeader(DictionaryFile& d, const char* marker);
// Releases view, mapping and file.
void CloseDictionaryFile(DictionaryFile& d);

// The data of the open dictionary as the search reads it; no bytes while
// none is open.
DictionaryView SearchableBytes(const DictionaryFile& d);
