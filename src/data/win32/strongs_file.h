// The four-column list file, loaded on request into the result table.
#pragma once

void LoadStrongsList();
void OpenStrongsFile();
void CloseStrongsList();
