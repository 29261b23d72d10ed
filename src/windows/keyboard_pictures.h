// Three small windows, one per layout, each showing a picture of the German
// keyboard: as it is, with Shift, and with AltGr; and the Keyboards menu
// commands that open them.
#pragma once
#include <windows.h>

// The command of one layout, by its bitmap id (IDB_KBD_NORMAL, _SHIFT or
// _ALT): loads the picture afresh and opens the layout's window.
void OpenKeyboardPicture(int bitmapId);
// Opens the window of the chosen layout and paints it at once.
void ShowKeyboardPicture();
LRESULT PaintKeyboardPicture(HWND window);
LRESULT CALLBACK KeyboardPictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

extern const char* const kKeyboardTitles[];
