// The four-column list file, loaded on request into the result table. File
// work only: the scroll bar and the menu item are the caller's.
#pragma once

void LoadStrongsList();
void OpenStrongsFile();
void CloseStrongsList();
