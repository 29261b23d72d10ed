// The main window: the hub every command and private request ends in.
#pragma once
#include <windows.h>

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

extern const char kExitQuestion[];
extern const char kExitCaption[];
