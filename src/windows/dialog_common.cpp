#include "dialog_common.h"

#include "../state/app_state.h"
#include "dialog_templates.h"

void EnableDictionaryMenus()
{
    static const UINT kItems[] = {IDM_TRANS, IDM_TRANS_GER_ENG, IDM_TRANS_ENG_GER,
                                  IDM_ADD,   IDM_ADD_GER_ENG,   IDM_ADD_ENG_GER};
    for (UINT id : kItems)
        EnableMenuItem(app.menu, id, MF_BYCOMMAND | MF_ENABLED);
}

HWND CreateDialogFromTemplate(unsigned char* templateBytes, const char* caption, int captionChars, int titleRoom,
                              DLGPROC procedure)
{
    MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, caption, captionChars,
                        reinterpret_cast<LPWSTR>(templateBytes + kTitleOffset), titleRoom);
    return CreateDialogIndirectParamA(app.instance, reinterpret_cast<LPCDLGTEMPLATEA>(templateBytes), app.mainWindow,
                                      procedure, 0);
}
