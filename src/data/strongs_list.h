// The four-column list file's format and its reader: record lines of the
// mark byte 0xFB, three columns of 17 bytes and a fourth column up to CR LF.
#pragma once
#include <cstdint>

#include "../shared/result_table.h"

constexpr unsigned char kStrongsMark = 0xFB;
constexpr uint32_t kStrongsColumnBytes = 17;

struct StrongsLoad {
    int32_t lineCount;   // CR LF pairs in the file: the list's row count
    int32_t recordCount; // records stored, at most 250, from slot 0 on
};

// Counts the lines and reads the records of the file's bytes into the table.
// The table is cleared first, so a row without a record of this load never
// shows a record of an earlier list; the caller draws only rows below
// recordCount. Records past the 250th are dropped. A record cut short by the
// end of the file keeps the columns as far as they reach.
StrongsLoad ReadStrongsList(const unsigned char* view, uint32_t size, ResultTable& table);
