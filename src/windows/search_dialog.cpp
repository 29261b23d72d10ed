#include "search_dialog.h"

#include "../state/app_state.h"
#include "dialog_common.h"
#include "dialog_templates.h"
#include "dictionary_session.h"
#include "german_keyboard.h"

namespace {

void CloseSearchDialog()
{
    // The add-word dialog goes first, so that closing the dictionary after
    // it empties the list and its scroll bar too: with no dialog left there
    // is nothing the list could still be shown for.
    if (app.addWordDialog != nullptr) {
        DestroyWindow(app.addWordDialog);
        app.addWordDialog = nullptr;
    }
    CloseDictionary();
    DestroyWindow(app.searchDialog);
    app.searchDialog = nullptr;
    RestoreKeyboardLayout();
    EnableDictionaryMenus();
    InvalidateRect(app.mainWindow, nullptr, TRUE);
    SetFocus(app.mainWindow);
}

// Enter: the field's text becomes the search text, and the main window is
// asked to run the search; an empty field asks for nothing.
void RequestSearch(HWND dialog)
{
    const int length = GetDlgItemTextA(dialog, IDC_SEARCH_EDIT, app.searchText, kSearchTextCapacity);
    if (length <= 0)
        return;
    app.searchLength = static_cast<uint32_t>(length);
    SendMessageA(app.mainWindow, WM_COMMAND, WM_RUN_SEARCH, 0);
}

} // namespace

void CreateSearchDialog()
{
    BuildSearchDialogTemplate(app.searchTemplate, app.geometry, app.direction);
    HWND dialog = CreateDialogFromTemplate(app.searchTemplate.bytes, SearchCaption(app.direction),
                                           kSearchCaptionChars, kSearchCaptionChars, SearchDialogProc);
    if (dialog == nullptr)
        return;
    app.searchDialog = dialog;
    SendDlgItemMessageA(dialog, IDC_SEARCH_EDIT, EM_LIMITTEXT, kMaxSearchChars, 0);
    SetFocus(GetDlgItem(dialog, IDC_SEARCH_EDIT));
    SetDlgItemTextA(dialog, IDC_GERMAN_KBD, kGermanKeyboardOff);
    ShowWindow(dialog, SW_SHOWNORMAL);
    UpdateWindow(dialog);
}

INT_PTR CALLBACK SearchDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND) {
        const WORD id = LOWORD(wParam);
        const WORD notification = HIWORD(wParam);
        if (id == IDCANCEL && notification == 0)
            CloseSearchDialog();
        else if (id == IDC_GERMAN_KBD && notification == BN_CLICKED)
            GermanKeyboardClicked(dialog, app.addWordDialog);
        else if (id == IDOK)
            RequestSearch(dialog);
    } else if (message == WM_INSERT_TEXT) {
        SendDlgItemMessageA(app.searchDialog, IDC_SEARCH_EDIT, EM_REPLACESEL, TRUE, static_cast<LPARAM>(wParam));
    }
    return FALSE;
}
