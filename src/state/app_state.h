// AppState: everything the program keeps for the length of a run, in one
// place, and the one instance of it, app. One thread owns all of it. Only the
// window layers (src/windows, src/shell) read and write app; the layers below
// them are handed the parts they work on.
#pragma once
#include <windows.h>

#include <cstdint>

#include "../data/win32/file_state.h"
#include "../shared/dialog_geometry.h"
#include "../shared/list_scroll.h"
#include "../shared/resource_ids.h"
#include "../shared/result_table.h"
#include "../shared/shared_types.h"
#include "gdi_owners.h"

constexpr int kKeyboardLayouts = 3;

struct KeyboardPictures {
    int chosenLayout; // bitmap id of the layout whose command ran last
    ScopedGdiObject<HBITMAP> bitmaps[kKeyboardLayouts];
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
    ScopedGdiObject<HFONT> listFont; // made at the first paint, kept for the run

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

// Puts every field back to its start-up value, giving back the files and
// GDI objects still held; used by the start-up itself and by tests that
// start the program more than once in one process.
void ResetAppState();
