// The add-word dialog (one edit line for a new entry and the German keyboard
// check box) and the add path behind its Enter key: the entry composed, the
// dictionary let go, the line appended, the dictionary opened again.
#pragma once
#include <windows.h>

void CreateAddWordDialog();
INT_PTR CALLBACK AddWordDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Enter in the dialog: the typed entry goes to the dictionary file, or the
// user is told why not and finds the text still in the field.
void AppendEntry(HWND dialog);

extern const char kEntryNotWrittenMessage[];
extern const char kEntryDamagedMessage[];
extern const char kEntryDiskFullMessage[];
extern const char kEntryNeedsBothPartsMessage[];
