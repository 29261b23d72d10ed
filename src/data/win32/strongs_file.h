// The four-column list file, strongs.dat, on the StrongsList and result
// table it is handed: loading it into the table, and letting it go. File
// work only: where the list stands, the scroll bar, the menu item and the
// box for a file that cannot be opened are the caller's.
#pragma once
#include "../../shared/result_table.h"
#include "file_state.h"

// Reads the file's records into the table as four-column rows; resultCount
// is their line count. The list counts as loaded even when the file cannot
// be opened, so the failure shows an empty list until the next search;
// false then.
bool LoadStrongsFile(StrongsList& s, ResultList& results);
// Releases the file and makes the table's rows dictionary rows again.
void CloseStrongsFile(StrongsList& s, ResultList& results);
