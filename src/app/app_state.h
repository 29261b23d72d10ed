// Everything the program keeps for the length of a run, in one place. One
// thread owns all of it; every window procedure reads and writes it here.
#pragma once
#include <windows.h>

#include <cstdint>

#include "dialog_geometry.h"
#include "list_scroll.h"
#include "resource_ids.h"
#include "result_table.h"
#include "shared_types.h"
#include "win32_handles.h"

// The open dictionary. fileHandle 0 means none is open.
struct DictionaryFile {
    const char* fileName;
    HANDLE fileHandle;
    HANDLE mappingHandle;
    const unsigned char* view;
    uint32_t fileSize;
    uint32_t headerOffset;
    // Counts the opens of a dictionary by a command. The re-open after an
    // append keeps it: the file only grew, so earlier offsets still reach the
    // same bytes. The painter compares it with the search's to know whether
    // the result table belongs to the file now mapped.
    uint32_t generation;
};

// The four-column list, shown in place of the search results until the
// next search.
struct StrongsList {
    int32_t loaded;
    HANDLE fileHandle;
    HANDLE mappingHandle;
    const unsigned char* view;
    uint32_t fileSize;
    int32_t recordCount; // rows below this hold a record of this load
};

constexpr int kKeyboardLayouts = 3;

struct KeyboardPictures {
    int chosenLayout; // bitmap id of the layout whose command ran last
    HBITMAP bitmaps[kKeyboardLayouts];
    HWND windows[kKeyboardLayouts];
    HBITMAP bitmapToPaint;
    WNDCLASSEXA classRecord;
};

struct AppState {
    HINSTANCE instance;
    HWND mainWindow;
    HMENU menu;
    HICON icon;
    HWND searchDialog;
    HWND addWordDialog;
    WNDCLASSEXA windowClassRecord;

    MainWindowSize mainSize;
    DialogGeometry geometry;

    DictionaryFile dictionary;
    DictionaryDirection direction;

    char searchText[kSearchTextCapacity];
    uint32_t searchLength;
    ResultList results;
    uint32_t resultsGeneration; // the dictionary generation the results point into

    ListScrollState list;
    StrongsList strongs;

    HWND refocusWindow;
    HFONT listFont;

    SearchDialogTemplate searchTemplate;
    AddWordDialogTemplate addWordTemplate;
    EntryRecord entryRecord;
    // The German layout and what was there before it: the layout to go back
    // to, and whether the program loaded the German one itself (only then is
    // it the program's to unload; the user may have had it long before).
    HKL germanLayout;
    HKL layoutBeforeGerman;
    bool germanKeyboardOn;
    bool germanLayoutLoadedHere;

    KeyboardPictures pictures;
    HWND aboutWindow;
};

extern AppState app;

// Puts every field back to its start-up value; used by the start-up itself
// and by tests that start the program more than once in one process.
void ResetAppState();
