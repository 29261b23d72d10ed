// What the search and add-word dialogs share: their menu states and how
// they are created from their templates.
#pragma once
#include <windows.h>

// Closing either dialog closes both; afterwards any dictionary and direction
// may be chosen again.
void EnableDictionaryMenus();

// Lets go of the dictionary. Without an add-word dialog there is nothing the
// list could still be shown for: it is emptied with its scroll bar, and the
// menus that choose a dictionary come back. While the add-word dialog stands
// (an append, or the search dialog closing first) only the file is released.
void CloseDictionaryAndList();

// Writes the caption into a filled template's title field, converted from the
// program's code page, and creates the dialog owned by the main window.
HWND CreateDialogFromTemplate(unsigned char* templateBytes, const char* caption, int captionChars, int titleRoom,
                              DLGPROC procedure);
