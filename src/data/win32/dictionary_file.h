// Opening, mapping and closing the dictionary file of the current direction,
// and the search over it. File work only: what the windows show of it is
// their callers' part.
#pragma once
#include <windows.h>

void OpenDictionary();
// The open after an append: the same file, grown at its end, so the result
// table's offsets still reach the same bytes.
void ReopenDictionaryAfterAppend();
void SkipDictionaryHeader(const char* marker);
// Releases view, mapping and file; the list and the menus are the caller's.
void CloseDictionary();

// The search over the open dictionary and the current search text. True
// when a line matched: then the scroll bar is to be brought up to date. A
// loaded four-column list must have been closed before.
bool SearchDictionary();
