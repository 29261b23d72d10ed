// What the dictionaries and the four-column list share as data files: the
// way they are opened and mapped, and the one message for a file that
// cannot be used.
#pragma once
#include <windows.h>

#include <cstdint>

// The caption of every box about a data file that cannot be used.
extern const char kErrorCaption[];

// Tells the user, over the main window, that a data file cannot be opened.
void ShowDataFileError();

// Windows refuses write access to a read-only file, but Wine run by root
// grants it, since root passes the Unix permissions that stand for the
// attribute there. Every data file is tested for the attribute as well, so a
// read-only file is refused the same way wherever the program runs.
bool IsReadOnlyFile(const char* fileName);

// Opens a data file for reading and writing without sharing, as every data
// file is held while the program uses it; INVALID_HANDLE_VALUE when it is
// missing, read-only, in use or not accessible.
HANDLE OpenDataFile(const char* fileName);

// Maps an open data file whole, copy-on-write, so the view never writes
// back. Null when the file cannot be mapped (an empty file cannot).
const unsigned char* MapDataFile(HANDLE file, HANDLE& mapping);

// The bytes the view lets a reader reach: the file's size, or 0 without a
// view or past what 32-bit offsets reach.
uint32_t MappedSize(HANDLE file, const unsigned char* view);
