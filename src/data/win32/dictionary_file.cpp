#include "dictionary_file.h"

#include "../dictionary_format.h"
#include "data_file.h"

bool OpenDictionaryFile(DictionaryFile& d)
{
    if (!OpenDataFile(d.fileName, d))
        return false;
    ++d.generation;
    return true;
}

bool ReopenDictionaryFile(DictionaryFile& d)
{
    return OpenDataFile(d.fileName, d);
}

void SkipDictionaryHeader(DictionaryFile& d, const char* marker)
{
    d.headerOffset = FindHeaderEnd(d.view, d.fileSize, marker);
}

void CloseDictionaryFile(DictionaryFile& d)
{
    d.Close();
}

DictionaryView SearchableBytes(const DictionaryFile& d)
{
    return {d.view, d.fileSize, d.headerOffset};
}
