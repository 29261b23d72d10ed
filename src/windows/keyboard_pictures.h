// Three small windows, one per layout, each showing a picture of the German
// keyboard: as it is, with Shift, and with AltGr.
#pragma once
#include <windows.h>

void ShowKeyboardPicture();
LRESULT PaintKeyboardPicture(HWND window);
LRESULT CALLBACK KeyboardPictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

extern const char* const kKeyboardTitles[];
