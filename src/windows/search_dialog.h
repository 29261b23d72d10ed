// The search dialog: one edit line, whose Enter asks the main window for a
// search, and the German keyboard check box.
#pragma once
#include <windows.h>

void CreateSearchDialog();
INT_PTR CALLBACK SearchDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
