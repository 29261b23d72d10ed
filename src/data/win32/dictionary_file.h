// Opening, mapping and closing the dictionary file of the current direction.
#pragma once
#include <windows.h>

void OpenDictionary();
// The open after an append: the same file, grown at its end, so the result
// table's offsets still reach the same bytes.
void ReopenDictionaryAfterAppend();
void SkipDictionaryHeader(const char* marker);
void CloseDictionary();

void ShowDataFileError();

// Windows refuses write access to a read-only file, but Wine run by root
// grants it, since root passes the Unix permissions that stand for the
// attribute there. Every data file is tested for the attribute as well, so a
// read-only file is refused the same way wherever the program runs.
bool IsReadOnlyFile(const char* fileName);

// Opens a data file for reading and writing without sharing, as every data
// file is held while the program uses it; INVALID_HANDLE_VALUE when it is
// missing, read-only, in use or not accessible.
HANDLE OpenDataFile(const char* fileName);

// The search over the open dictionary and the current search text, with the
// scroll bar and the four-column list handled around it.
void SearchDictionary();
