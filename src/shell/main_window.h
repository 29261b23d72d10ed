// The main window: the hub every menu command and private request ends in,
// the keys typed into it, the focus after a search, the exit path, and the
// four-column list it shows in place of the search results.
#pragma once
#include <windows.h>

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Loads strongs.dat into the result table and shows it a full page at a
// time; a file that cannot be opened is reported and shows an empty list.
void LoadStrongsList(HWND window);
// Lets go of the four-column list, which the next search replaces, and
// makes its menu item available again.
void CloseStrongsList();

extern const char kExitQuestion[];
extern const char kExitCaption[];
