// How the program holds its data files, the dictionaries and the
// four-column list: opened for reading and writing without sharing and
// mapped copy-on-write, with a read-only file refused wherever the program
// runs.
#pragma once
#include "../../app/mapped_file.h"

// Windows refuses write access to a read-only file, but Wine run by root
// grants it, since root passes the Unix permissions that stand for the
// attribute there. Every data file is tested for the attribute as well, so a
// read-only file is refused the same way wherever the program runs.
bool IsReadOnlyFile(const char* fileName);

// Opens and maps a data file into file. False, with nothing held, when it is
// missing, read-only, in use or not accessible; telling the user is the
// caller's part.
bool OpenDataFile(const char* fileName, MappedFile& file);
