#include "strongs_file.h"

#include "../../app/app_state.h"
#include "../strongs_list.h"
#include "data_file.h"

void OpenStrongsFile()
{
    StrongsList& s = app.strongs;
    HANDLE file = OpenDataFile("strongs.dat");
    if (file == INVALID_HANDLE_VALUE) {
        s.fileHandle = nullptr;
        ShowDataFileError();
        return;
    }
    s.fileHandle = file;
    s.view = MapDataFile(file, s.mappingHandle);
}

void LoadStrongsList()
{
    StrongsList& s = app.strongs;
    app.results.resultCount = 0;
    app.list.oneLineRepaint = 0;
    app.list.firstRowOffset = 0;
    app.list.scrollInfo.nPos = 0;
    app.list.scrollInfo.nMax = 0;
    // Counted as loaded before the open, so a failed open still shows an
    // empty list until the next search.
    s.loaded = 1;
    app.resultsGeneration = 0; // the table no longer holds dictionary records
    app.results.rowStride = kStrongsStride;
    OpenStrongsFile();
    s.fileSize = s.fileHandle != nullptr ? MappedSize(s.fileHandle, s.view) : 0;

    const StrongsLoad load = ReadStrongsList(s.view, s.fileSize, app.results.table);
    app.results.resultCount = load.lineCount;
    s.recordCount = load.recordCount;
    app.list.scrollInfo.nMax = load.lineCount;
}

void CloseStrongsList()
{
    StrongsList& s = app.strongs;
    if (s.fileHandle != nullptr)
        CloseHandle(s.fileHandle);
    if (s.mappingHandle != nullptr)
        CloseHandle(s.mappingHandle);
    if (s.view != nullptr)
        UnmapViewOfFile(s.view);
    s.fileHandle = nullptr;
    s.mappingHandle = nullptr;
    s.view = nullptr;
    s.loaded = 0;
    s.fileSize = 0;
    s.recordCount = 0;
    app.results.rowStride = kResultStride;
}
