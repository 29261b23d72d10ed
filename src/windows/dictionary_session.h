// The dictionary as the program's windows see it: opening it and closing it
// together with the list, scroll bar and menus that go with it, the open
// after an append, and the one box for a data file that cannot be opened,
// which the four-column list shares. Every open and close of the dictionary
// goes through here.
#pragma once
#include "../data/win32/dictionary_append.h"

// The caption of every box about a data file that cannot be used.
extern const char kErrorCaption[];

// Tells the user, over the main window, that a data file cannot be opened.
void ShowDataFileError();

// Opens and maps the file named by app.dictionary.fileName; when it cannot
// be opened the user is told and no dictionary is open afterwards.
void OpenDictionary();

// Lets go of the dictionary. Without an add-word dialog there is nothing the
// list could still be shown for: it is emptied with its scroll bar, and the
// menus that choose a dictionary come back. While the add-word dialog stands
// (an append, or the search dialog closing first) only the file is released.
void CloseDictionary();

// The open that follows an append. The list found before it stays only
// when the file is provably the one appended to; otherwise it is emptied,
// as a close does, and the new file's header is found again. When the file cannot be opened the user is told, as by
// OpenDictionary.
void ReopenDictionaryAfterAppend(const AppendOutcome& appended);
