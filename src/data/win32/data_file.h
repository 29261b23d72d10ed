// How the program holds its data files, the dictionaries and the
// four-column list: opened for reading and writing without sharing and
// mapped copy-on-write, with a read-only file refused wherever the program
// runs; and how it tells one file from another put in its place.
#pragma once
#include <windows.h>

#include <cstdint>

#include "../../mapping/mapped_file.h"
#include "file_state.h"

// Windows refuses write access to a read-only file, but Wine run by root
// grants it, since root passes the Unix permissions that stand for the
// attribute there. Every data file is tested for the attribute as well, so a
// read-only file is refused the same way wherever the program runs.
bool IsReadOnlyFile(const char* fileName);

// Opens and maps a data file into file. False, with nothing held, when it is
// missing, read-only, in use or not accessible; telling the user is the
// caller's part.
bool OpenDataFile(const char* fileName, MappedFile& file);

// The identity and whole size of an open file; identity.known is false when
// the platform cannot tell them.
void IdentifyFile(HANDLE file, FileIdentity& identity, uint64_t& size);
