#include "dictionary_file.h"

#include "../../app/app_state.h"
#include "strongs_file.h"

const char kErrorCaption[] = " ! ERROR !";

namespace {

const char kDataFileMissing[] =
    " Can't find the data file. This file must be in the same directory as Vokabix.exe";

void PushScrollInfo()
{
    SetScrollInfo(app.mainWindow, SB_VERT, reinterpret_cast<LPCSCROLLINFO>(&app.list.scrollInfo), TRUE);
}

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

bool IsReadOnlyFile(const char* fileName)
{
    const DWORD attributes = GetFileAttributesA(fileName);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

HANDLE OpenDataFile(const char* fileName)
{
    if (IsReadOnlyFile(fileName))
        return INVALID_HANDLE_VALUE;
    return CreateFileA(fileName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

const unsigned char* MapDataFile(HANDLE file, HANDLE& mapping)
{
    mapping = CreateFileMappingA(file, nullptr, PAGE_WRITECOPY, 0, 0, nullptr);
    if (mapping == nullptr)
        return nullptr;
    return static_cast<const unsigned char*>(MapViewOfFile(mapping, FILE_MAP_COPY, 0, 0, 0));
}

uint32_t MappedSize(HANDLE file, const unsigned char* view)
{
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    return view == nullptr || high != 0 ? 0 : size;
}

void ShowDataFileError()
{
    MessageBoxA(app.mainWindow, kDataFileMissing, kErrorCaption, MB_OK);
}

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

    // The append path keeps the list and the menus as they are.
    if (app.addWordDialog != nullptr)
        return;
    InvalidateRect(app.mainWindow, nullptr, TRUE);
    EnableMenuItem(app.menu, IDM_TRANS, MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(app.menu, IDM_ADD, MF_BYCOMMAND | MF_ENABLED);
    RedrawWindow(app.mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    // The bar goes with the list: an old range over an empty list would
    // offer rows that are not there.
    app.results.resultCount = 0;
    app.list.scrollInfo.nPos = 0;
    app.list.scrollInfo.nMax = 0;
    PushScrollInfo();
}

void SearchDictionary()
{
    if (app.strongs.loaded)
        CloseStrongsList();
    const DictionaryView view{app.dictionary.view, app.dictionary.fileSize, app.dictionary.headerOffset};
    const bool matched = SearchDictionary(view, reinterpret_cast<const unsigned char*>(app.searchText),
                                          app.searchLength, app.results, app.list);
    app.resultsGeneration = app.dictionary.generation;
    if (matched)
        PushScrollInfo();
}
