// The four-column list file, strongs.dat, on the StrongsList, result table
// and list state it is handed: loading it into the table as a new list, and
// letting it go. File work only: the scroll bar, the menu item and the box
// for a file that cannot be opened are the caller's.
#pragma once
#include "../../shared/list_scroll.h"
#include "../../shared/result_table.h"
#include "file_state.h"

// Starts a new list at its top and reads the file's records into the table.
// The list counts as loaded even when the file cannot be opened, so the
// failure shows an empty list until the next search; false then.
bool LoadStrongsFile(StrongsList& s, ResultList& results, ListScrollState& list);
// Releases the file and makes the table's rows dictionary rows again.
void CloseStrongsFile(StrongsList& s, ResultList& results);
