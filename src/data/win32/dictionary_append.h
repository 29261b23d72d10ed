// Appending one composed entry line to the end of a dictionary file on disk,
// so that either the whole line is in the file or none of it. File work
// only: the program's own hold on the dictionary must have been let go
// first (it is held without sharing), and what the user is told is the
// add-word dialog's part.
#pragma once
#include <cstdint>

#include "../../shared/shared_types.h"
#include "../entry_append.h"
#include "file_state.h"

// What became of an append, and of which file.
struct AppendOutcome {
    AppendResult result;
    // The platform's code for the first call that failed, which names the
    // cause (a full disk, a file in use); 0 when none failed.
    uint32_t error;
    // The file the line went to and its size before, when it was opened;
    // identity.known is false when it was not.
    FileIdentity identity;
    uint64_t sizeBefore;
};

// Opens fileName for writing and appends the record's line. The file is
// read as well, to see whether its last line has its CR LF.
AppendOutcome AppendEntryRecord(const char* fileName, const EntryRecord& record);
