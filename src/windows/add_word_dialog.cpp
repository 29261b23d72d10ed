#include "add_word_dialog.h"

#include "../data/win32/append_entry.h"
#include "../data/win32/dictionary_file.h"
#include "../app/app_state.h"
#include "dialog_common.h"
#include "german_keyboard.h"

namespace {

void CloseAddWordDialog(HWND dialog)
{
    DestroyWindow(dialog);
    app.addWordDialog = nullptr;
    if (app.searchDialog != nullptr) {
        DestroyWindow(app.searchDialog);
        app.searchDialog = nullptr;
    }
    RestoreKeyboardLayout();
    EnableDictionaryMenus();
    // With no add-word dialog left, the close also empties the list.
    CloseDictionary();
    SetFocus(app.mainWindow);
}

} // namespace

void CreateAddWordDialog()
{
    if (app.addWordDialog == nullptr) {
        BuildAddWordDialogTemplate(app.addWordTemplate, app.geometry, app.direction);
        HWND dialog = CreateDialogFromTemplate(app.addWordTemplate.bytes, AddWordCaption(app.direction),
                                               kAddWordCaptionChars, 60, AddWordDialogProc);
        if (dialog == nullptr)
            return;
        app.addWordDialog = dialog;
        SetFocus(dialog);
        SendDlgItemMessageA(dialog, IDC_ENTRY_EDIT, EM_LIMITTEXT, 80, 0);
        SetDlgItemTextA(dialog, IDC_GERMAN_KBD, kGermanKeyboardOff);
    }
    // The search of the same direction stays available beside this dialog;
    // the other direction must wait until the dialogs are closed.
    EnableMenuItem(app.menu, IDM_ADD, MF_BYCOMMAND | MF_GRAYED);
    EnableMenuItem(app.menu,
                   app.direction == DictionaryDirection::GermanToEnglish ? IDM_TRANS_ENG_GER : IDM_TRANS_GER_ENG,
                   MF_BYCOMMAND | MF_GRAYED);
}

INT_PTR CALLBACK AddWordDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND) {
        if (HIWORD(wParam) != 0)
            return FALSE;
        switch (LOWORD(wParam)) {
        case IDC_GERMAN_KBD:
            GermanKeyboardClicked(dialog, app.searchDialog);
            break;
        case IDOK:
            AppendEntry(dialog);
            break;
        case IDCANCEL:
            CloseAddWordDialog(dialog);
            break;
        default:
            break;
        }
    } else if (message == WM_INSERT_TEXT) {
        SendDlgItemMessageA(dialog, IDC_ENTRY_EDIT, EM_REPLACESEL, TRUE, static_cast<LPARAM>(wParam));
    }
    return FALSE;
}
