// Typing German letters: F1 to F3 insert them, and the check box in either
// dialog switches the thread to the German keyboard layout.
#pragma once
#include <windows.h>

// The zero-terminated Windows-1252 letter for F1, F2 or F3, in static
// storage since its address travels in a message; null for other keys.
const char* UmlautFor(UINT virtualKey);

void SetGermanKeyboard(int on);

// Puts back the layout the user had before the German one was switched on,
// and unloads the German layout if the program loaded it. Run when the box
// is cleared, when both dialogs close and on every way out of the program,
// so the user's other programs never keep typing with Y and Z swapped.
void RestoreKeyboardLayout();

// A click on the check box of thisDialog: the other dialog's box follows,
// the layout switches, and the focus stays in the clicked dialog.
void GermanKeyboardClicked(HWND thisDialog, HWND otherDialog);
