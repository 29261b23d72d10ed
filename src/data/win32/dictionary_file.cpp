#include "dictionary_file.h"

#include "../../app/app_state.h"
#include "../dictionary_format.h"
#include "../search.h"
#include "data_file.h"

namespace {

// Opens the file without sharing, so nobody else changes it under the
// view, and maps it.
void OpenAndMap()
{
    DictionaryFile& d = app.dictionary;
    HANDLE file = OpenDataFile(d.fileName);
    if (file == INVALID_HANDLE_VALUE) {
        d.fileHandle = nullptr;
        ShowDataFileError();
        return;
    }
    d.fileHandle = file;
    d.view = MapDataFile(file, d.mappingHandle);
    d.fileSize = MappedSize(file, d.view);
}

} // namespace

void OpenDictionary()
{
    OpenAndMap();
    if (app.dictionary.fileHandle != nullptr)
        ++app.dictionary.generation;
}

void ReopenDictionaryAfterAppend()
{
    OpenAndMap();
}

void SkipDictionaryHeader(const char* marker)
{
    app.dictionary.headerOffset = FindHeaderEnd(app.dictionary.view, app.dictionary.fileSize, marker);
}

void CloseDictionary()
{
    DictionaryFile& d = app.dictionary;
    if (d.view != nullptr)
        UnmapViewOfFile(d.view);
    d.view = nullptr;
    if (d.mappingHandle != nullptr)
        CloseHandle(d.mappingHandle);
    d.mappingHandle = nullptr;
    if (d.fileHandle != nullptr)
        CloseHandle(d.fileHandle);
    d.fileHandle = nullptr;
}

bool SearchDictionary()
{
    const DictionaryView view{app.dictionary.view, app.dictionary.fileSize, app.dictionary.headerOffset};
    const bool matched = SearchDictionary(view, reinterpret_cast<const unsigned char*>(app.searchText),
                                          app.searchLength, app.results, app.list);
    app.resultsGeneration = app.dictionary.generation;
    return matched;
}
