// Opening, mapping and closing the dictionary file of the current direction.
#pragma once

void OpenDictionary();
// The open after an append: the same file, grown at its end, so the result
// table's offsets still reach the same bytes.
void ReopenDictionaryAfterAppend();
void SkipDictionaryHeader(const char* marker);
void CloseDictionary();

void ShowDataFileError();

// The search over the open dictionary and the current search text, with the
// scroll bar and the four-column list handled around it.
void SearchDictionary();
