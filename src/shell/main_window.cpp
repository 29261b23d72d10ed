#include "main_window.h"

#include "../data/dictionary_format.h"
#include "../data/search.h"
#include "../data/win32/dictionary_file.h"
#include "../data/win32/strongs_file.h"
#include "../list/list_layout.h"
#include "../list/result_list.h"
#include "../state/app_state.h"
#include "../windows/about_window.h"
#include "../windows/add_word_dialog.h"
#include "../windows/dictionary_session.h"
#include "../windows/german_keyboard.h"
#include "../windows/keyboard_pictures.h"
#include "../windows/search_dialog.h"

const char kExitQuestion[] = "Exit Vokabix ?";
const char kExitCaption[] = "Exit Requested";

namespace {

void Gray(UINT id)
{
    EnableMenuItem(app.menu, id, MF_BYCOMMAND | MF_GRAYED);
}

void RedrawAll(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    InvalidateRect(window, nullptr, TRUE);
}

// Everything the program holds is given back before the loop is told to end;
// the window itself stays until the process ends.
LRESULT ExitPath()
{
    app.listFont.Reset(nullptr);
    CloseDictionary();
    RestoreKeyboardLayout();
    PostQuitMessage(0);
    return 0;
}

// A window that can take the keyboard focus: the one asked for while it is
// open, else the add-word dialog, else the main window. A null focus would
// leave every window deaf to typing until the user clicks one.
HWND FocusTarget(HWND wanted)
{
    if (wanted != nullptr && (wanted == app.mainWindow || wanted == app.searchDialog || wanted == app.addWordDialog))
        return wanted;
    return app.addWordDialog != nullptr ? app.addWordDialog : app.mainWindow;
}

// After a search the keys go where the user wants them next: the list when
// there is something to scroll, the search field when everything is shown.
void PlaceFocusAfterSearch(HWND window)
{
    const int32_t hits = app.list.scrollInfo.nMax;
    const int32_t page = PageRows(app.list);
    if (hits > page) {
        app.refocusWindow = window;
        SetFocus(window);
    } else if (hits == 0 || hits < page) {
        app.refocusWindow = FocusTarget(app.searchDialog);
        SetFocus(app.refocusWindow);
    }
}

bool IsOwnWindow(HWND window)
{
    DWORD process = 0;
    return window != nullptr && GetWindowThreadProcessId(window, &process) != 0 &&
           process == GetCurrentProcessId();
}

// Coming back from another program puts the keys where the user left them.
// A move between the program's own windows (Tab, a closed picture or box)
// already says where the focus goes; sending it elsewhere would undo it.
void OnActivate(HWND window, WPARAM state, HWND previous)
{
    if (state != WA_ACTIVE)
        return;
    SetFocus(IsOwnWindow(previous) ? window : FocusTarget(app.refocusWindow));
}

// A dictionary open with neither dialog is left over from a path that was
// cut short; a command must never search or add in a file it did not choose.
void DropStrayDictionary()
{
    if (app.dictionary.fileHandle != nullptr && app.searchDialog == nullptr && app.addWordDialog == nullptr)
        CloseDictionary();
}

void OpenForSearch(DictionaryDirection direction)
{
    const DirectionInfo& info = InfoFor(direction);
    DropStrayDictionary();
    if (app.dictionary.fileHandle == nullptr) {
        app.dictionary.fileName = info.fileName;
        OpenDictionary();
        if (app.dictionary.fileHandle == nullptr)
            return;
        app.direction = direction;
    }
    Gray(IDM_TRANS);
    Gray(direction == DictionaryDirection::GermanToEnglish ? IDM_ADD_ENG_GER : IDM_ADD_GER_ENG);
    CreateSearchDialog();
    // The marker of the direction asked for; the open file is searched from
    // its start, whichever command opened it.
    SkipDictionaryHeader(app.dictionary, info.marker);
}

void OpenForAdding(DictionaryDirection direction)
{
    DropStrayDictionary();
    if (app.dictionary.fileHandle == nullptr) {
        app.dictionary.fileName = InfoFor(direction).fileName;
        OpenDictionary();
    }
    app.direction = direction;
    CreateAddWordDialog();
}

// A search replaces the four-column list, if shown, with its matches; the
// scroll bar shows them only when there are any.
void OnRunSearch(HWND window)
{
    if (app.strongs.loaded)
        CloseStrongsList();
    const int32_t found = SearchDictionary(SearchableBytes(app.dictionary),
                                           reinterpret_cast<const unsigned char*>(app.searchText), app.searchLength,
                                           app.results);
    StartNewList(app.list, found);
    if (found > 0)
        UpdateListScrollBar(window, app.list);
    app.resultsGeneration = app.dictionary.generation;
}

void OnCommand(HWND window, WPARAM command)
{
    switch (command) {
    case IDM_TRANS_GER_ENG:
        OpenForSearch(DictionaryDirection::GermanToEnglish);
        break;
    case IDM_TRANS_ENG_GER:
        OpenForSearch(DictionaryDirection::EnglishToGerman);
        break;
    case IDM_ADD_GER_ENG:
        OpenForAdding(DictionaryDirection::GermanToEnglish);
        break;
    case IDM_ADD_ENG_GER:
        OpenForAdding(DictionaryDirection::EnglishToGerman);
        break;
    case IDM_STRONGS:
        SendMessageA(window, WM_SHOW_STRONGS, 0, 0);
        break;
    case IDM_KBD_NORMAL:
        OpenKeyboardPicture(IDB_KBD_NORMAL);
        break;
    case IDM_KBD_SHIFT:
        OpenKeyboardPicture(IDB_KBD_SHIFT);
        break;
    case IDM_KBD_ALT:
        OpenKeyboardPicture(IDB_KBD_ALT);
        break;
    case IDM_ABOUT:
        ShowAboutWindow();
        break;
    case WM_RUN_SEARCH:
        OnRunSearch(window);
        PlaceFocusAfterSearch(window);
        InvalidateRect(window, nullptr, TRUE);
        break;
    default:
        break;
    }
}

LRESULT OnKeyDown(HWND window, UINT message, WPARAM key, LPARAM lParam)
{
    switch (key) {
    case VK_ESCAPE:
        if (MessageBoxA(window, kExitQuestion, kExitCaption, MB_YESNO | MB_DEFBUTTON2) == IDNO)
            return DefWindowProcA(window, message, key, lParam);
        return ExitPath();
    case VK_TAB:
        if (app.searchDialog != nullptr)
            SetFocus(app.searchDialog);
        return 0;
    case VK_DOWN:
        SendMessageA(window, WM_VSCROLL, SB_LINEDOWN, 0);
        return 0;
    case VK_UP:
        SendMessageA(window, WM_VSCROLL, SB_LINEUP, 0);
        return 0;
    case VK_F4:
        SendMessageA(window, WM_SHOW_STRONGS, 0, 0);
        return 0;
    default:
        return DefWindowProcA(window, message, key, lParam);
    }
}

void OnSize(HWND window)
{
    LayoutResultList(window, app.list, app.results.resultCount);
    Gray(IDM_FKEY_HINT);
    RedrawAll(window);
}

void OnShowStrongs(HWND window)
{
    SetFocus(window);
    if (app.strongs.loaded)
        return;
    LoadStrongsList(window);
    Gray(IDM_STRONGS);
    RedrawAll(window);
}

void OnVScroll(HWND window, WPARAM request)
{
    // With everything on one page there is nothing to scroll, and the focus
    // stays where the user left it.
    if (app.results.resultCount < PageRows(app.list))
        return;
    SetFocus(window);
    ScrollOneLine(window, request, app.list, app.results);
}

LRESULT OnPaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    {
        ScopedPaint paint(window);
        // One font for the whole run, made at the first paint and given back
        // by the exit path, so repaints never pile up font objects.
        if (app.listFont.Get() == nullptr)
            app.listFont.Reset(CreateFontA(15, 6, 0, 0, 500, 0, 0, 0, 0, 0, 0, 0, 0, "ARIAL"));
        ScopedSelect font(paint.Get(), app.listFont.Get());
        PaintResultRows(paint.Get(), app.list, app.results, app.resultsGeneration, app.dictionary, app.strongs);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

void LoadStrongsList(HWND window)
{
    app.resultsGeneration = 0; // the table no longer holds dictionary records
    const bool opened = LoadStrongsFile(app.strongs, app.results);
    StartNewList(app.list, app.results.resultCount);
    if (!opened)
        ShowDataFileError();
    ShowFourColumnList(window, app.list);
}

void CloseStrongsList()
{
    CloseStrongsFile(app.strongs, app.results);
    EnableMenuItem(app.menu, IDM_STRONGS, MF_BYCOMMAND | MF_ENABLED);
    // The search that closes the list repaints only the list, not the frame
    // the menu bar is in.
    DrawMenuBar(app.mainWindow);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATE:
        OnActivate(window, wParam, reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_CREATE:
        InitListScroll(app.list);
        return 1;
    case WM_SIZE:
        OnSize(window);
        return 0;
    case WM_KEYDOWN:
        return OnKeyDown(window, message, wParam, lParam);
    case WM_DESTROY:
        return ExitPath();
    case WM_SHOW_STRONGS:
        OnShowStrongs(window);
        return 0;
    case WM_VSCROLL:
        OnVScroll(window, wParam);
        return 0;
    case WM_COMMAND:
        OnCommand(window, wParam);
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_PAINT:
        return OnPaint(window, message, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
