#include "dialog_common.h"

#include "../data/win32/dictionary_file.h"
#include "../list/result_list.h"
#include "dialog_templates.h"

#include "../app/app_state.h"

void EnableDictionaryMenus()
{
    static const UINT kItems[] = {IDM_TRANS, IDM_TRANS_GER_ENG, IDM_TRANS_ENG_GER,
                                  IDM_ADD,   IDM_ADD_GER_ENG,   IDM_ADD_ENG_GER};
    for (UINT id : kItems)
        EnableMenuItem(app.menu, id, MF_BYCOMMAND | MF_ENABLED);
}

void CloseDictionaryAndList()
{
    CloseDictionary();
    if (app.addWordDialog != nullptr)
        return;
    InvalidateRect(app.mainWindow, nullptr, TRUE);
    EnableMenuItem(app.menu, IDM_TRANS, MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(app.menu, IDM_ADD, MF_BYCOMMAND | MF_ENABLED);
    RedrawWindow(app.mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    EmptyResultList(app.mainWindow);
}

HWND CreateDialogFromTemplate(unsigned char* templateBytes, const char* caption, int captionChars, int titleRoom,
                              DLGPROC procedure)
{
    MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, caption, captionChars,
                        reinterpret_cast<LPWSTR>(templateBytes + kTitleOffset), titleRoom);
    return CreateDialogIndirectParamA(app.instance, reinterpret_cast<LPCDLGTEMPLATEA>(templateBytes), app.mainWindow,
                                      procedure, 0);
}
