#include "dialog_common.h"

#include "../state/app_state.h"
#include "dialog_templates.h"

static_assert(kWsChild == WS_CHILD && kWsVisible == WS_VISIBLE && kWsCaption == WS_CAPTION &&
                  kWsBorder == WS_BORDER && kWsSysMenu == WS_SYSMENU && kDs3dLook == DS_3DLOOK &&
                  kEsAutoHScroll == ES_AUTOHSCROLL && kBsAutoCheckBox == BS_AUTOCHECKBOX,
              "the templates' style bits are the platform's");

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
