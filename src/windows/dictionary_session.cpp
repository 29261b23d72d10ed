#include "dictionary_session.h"

#include "../data/dictionary_format.h"
#include "../data/win32/dictionary_file.h"
#include "../list/result_list.h"
#include "../state/app_state.h"

const char kErrorCaption[] = " ! ERROR !";

namespace {

const char kDataFileMissing[] =
    " Can't find the data file. This file must be in the same directory as Vokabix.exe";

} // namespace

void ShowDataFileError()
{
    MessageBoxA(app.mainWindow, kDataFileMissing, kErrorCaption, MB_OK);
}

void OpenDictionary()
{
    if (!OpenDictionaryFile(app.dictionary))
        ShowDataFileError();
}

void CloseDictionary()
{
    CloseDictionaryFile(app.dictionary);
    if (app.addWordDialog != nullptr)
        return;
    InvalidateRect(app.mainWindow, nullptr, TRUE);
    EnableMenuItem(app.menu, IDM_TRANS, MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(app.menu, IDM_ADD, MF_BYCOMMAND | MF_ENABLED);
    RedrawWindow(app.mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    EmptyResultList(app.mainWindow, app.results, app.list);
}

void ReopenDictionaryAfterAppend(const AppendOutcome& appended)
{
    switch (ReopenDictionaryFile(app.dictionary, appended)) {
    case Reopened::NotOpened:
        ShowDataFileError();
        break;
    case Reopened::SameFile:
        break;
    case Reopened::OtherFile:
        // Another file has a header of its own; searches must begin after it.
        SkipDictionaryHeader(app.dictionary, InfoFor(app.direction).marker);
        // The four-column list, if shown, is not the dictionary's to empty.
        if (!app.strongs.loaded) {
            InvalidateRect(app.mainWindow, nullptr, TRUE);
            EmptyResultList(app.mainWindow, app.results, app.list);
        }
        break;
    }
}
