// What the search and add-word dialogs share: the menu items their closing
// gives back, and their creation from an in-memory template.
#pragma once
#include <windows.h>

// Closing either dialog closes both; afterwards any dictionary and direction
// may be chosen again.
void EnableDictionaryMenus();

// Writes the caption into a filled template's title field, converted from the
// program's code page, and creates the dialog owned by the main window.
HWND CreateDialogFromTemplate(unsigned char* templateBytes, const char* caption, int captionChars, int titleRoom,
                              DLGPROC procedure);
