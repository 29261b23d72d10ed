// The add-word dialog: one edit line for a new entry and the German
// keyboard check box.
#pragma once
#include <windows.h>

void CreateAddWordDialog();
INT_PTR CALLBACK AddWordDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
