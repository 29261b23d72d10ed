#include "data_file.h"

#include <windows.h>

bool IsReadOnlyFile(const char* fileName)
{
    const DWORD attributes = GetFileAttributesA(fileName);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool OpenDataFile(const char* fileName, MappedFile& file)
{
    file.Close();
    return !IsReadOnlyFile(fileName) && file.OpenHeld(fileName);
}
