#include "add_word_dialog.h"

#include "../data/entry_composer.h"
#include "../data/win32/dictionary_append.h"
#include "../state/app_state.h"
#include "dialog_common.h"
#include "dialog_templates.h"
#include "dictionary_session.h"
#include "german_keyboard.h"

const char kEntryNotWrittenMessage[] =
    "The entry was not added: the data file could not be written. It may be read-only, missing "
    "or in use by another program. Your text is still in the field.";
const char kEntryDamagedMessage[] =
    "The entry was not added: writing to the data file failed part way, and the part already written "
    "could not be taken out again, so the file may now end with a partial line. The next entry "
    "added starts on a line of its own. Your text is still in the field.";
const char kEntryDiskFullMessage[] =
    "The entry was not added: the disk that holds the data file is full. Once there is space on it, "
    "the entry can be added again. Your text is still in the field.";
const char kEntryNeedsBothPartsMessage[] = "Nothing to add: an entry needs a source and a translation.";

namespace {

// After an append the record's length goes back to 0, which is what marks
// it empty; of its 176 bytes only the first 100 are cleared, as the add path
// always has. The next composed line overwrites what it reads.
constexpr uint32_t kEntryBytesCleared = 100;
static_assert(kEntryBytesCleared <= kEntryRecordBytes, "the clear stays inside the record");

// The room the caption's conversion may fill in the 81-unit title field; the
// blanks after it stay.
constexpr int kAddWordTitleRoom = 60;

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

// Shows a box owned by the dialog, and tells whether the add path may go
// on afterwards: the box runs its own message loop, in which the user can
// still close both dialogs (and with them the dictionary) from the search
// dialog. Whatever the path would do then belongs to a dialog that is gone.
bool BoxAndStillOpen(HWND dialog, const char* text, const char* caption, UINT type)
{
    const char* const fileName = app.dictionary.fileName;
    const uint32_t generation = app.dictionary.generation;
    MessageBoxA(dialog, text, caption, type);
    return app.addWordDialog == dialog && IsWindow(dialog) && app.dictionary.fileName == fileName &&
           app.dictionary.generation == generation;
}

// Why an entry that was composed is not in the file. A full disk is named
// as such: the user then makes room rather than looking for a cause that is
// not there.
const char* NotAddedMessage(const AppendOutcome& appended)
{
    if (appended.result == AppendResult::Damaged)
        return kEntryDamagedMessage;
    if (appended.error == ERROR_DISK_FULL || appended.error == ERROR_HANDLE_DISK_FULL)
        return kEntryDiskFullMessage;
    return kEntryNotWrittenMessage;
}

} // namespace

void AppendEntry(HWND dialog)
{
    unsigned char text[kMaxEntryBytes + 1] = {};
    const int length = GetDlgItemTextA(dialog, IDC_ENTRY_EDIT, reinterpret_cast<char*>(text), sizeof(text));
    char message[kComposeMessageBytes];
    const ComposeOutcome outcome = ComposeEntry(text, length > 0 ? static_cast<uint32_t>(length) : 0, app.direction,
                                                app.entryRecord, message);

    // A refused entry leaves the dictionary as it is.
    switch (outcome) {
    case ComposeOutcome::Composed:
        break;
    case ComposeOutcome::NothingToAdd:
        return;
    case ComposeOutcome::NoSourceMarker:
        BoxAndStillOpen(dialog, message, kSourceEntryErrorCaption, MB_YESNO | MB_DEFBUTTON2);
        return;
    case ComposeOutcome::SourceTooLong:
    case ComposeOutcome::NoLetterFirst:
    case ComposeOutcome::EmptyPart: {
        const char* shown = outcome == ComposeOutcome::EmptyPart ? kEntryNeedsBothPartsMessage : message;
        if (BoxAndStillOpen(dialog, shown, kSourceEntryErrorCaption, MB_YESNO | MB_DEFBUTTON2))
            SetFocus(dialog);
        return;
    }
    }

    // The file is held without sharing, so the program lets go of its own
    // view before it opens the file for writing; the add-word dialog is open,
    // so the list stays as it is.
    CloseDictionary();
    const AppendOutcome appended = AppendEntryRecord(app.dictionary.fileName, app.entryRecord);
    for (uint32_t i = 0; i < kEntryBytesCleared; ++i)
        app.entryRecord.bytes[i] = 0;
    app.entryRecord.length = 0;

    // The field keeps the text until the whole line is on disk.
    if (appended.result == AppendResult::Appended) {
        SetDlgItemTextA(dialog, IDC_ENTRY_EDIT, nullptr);
    } else if (!BoxAndStillOpen(dialog, NotAddedMessage(appended), kErrorCaption, MB_OK)) {
        return;
    }
    ReopenDictionaryAfterAppend(appended);
}

void CreateAddWordDialog()
{
    if (app.addWordDialog == nullptr) {
        BuildAddWordDialogTemplate(app.addWordTemplate, app.geometry, app.direction);
        HWND dialog = CreateDialogFromTemplate(app.addWordTemplate.bytes, AddWordCaption(app.direction),
                                               kAddWordCaptionChars, kAddWordTitleRoom, AddWordDialogProc);
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
    // The dialog took the activation before &Add was grayed, so nothing
    // else draws the menu bar again now.
    DrawMenuBar(app.mainWindow);
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
