// Appending one composed entry line to the end of a dictionary file on disk,
// so that either the whole line is in the file or none of it. File work
// only: the program's own hold on the dictionary must have been let go
// first (it is held without sharing), and what the user is told is the
// add-word dialog's part.
#pragma once
#include "../../app/shared_types.h"
#include "../entry_append.h"

// Opens fileName for writing and appends the record's line. The file is
// read as well, to see whether its last line has its CR LF.
AppendResult AppendEntryRecord(const char* fileName, const EntryRecord& record);
