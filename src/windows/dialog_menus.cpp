#include "dialog_menus.h"

#include "../shell/app_state.h"

void EnableDictionaryMenus()
{
    static const UINT kItems[] = {IDM_TRANS, IDM_TRANS_GER_ENG, IDM_TRANS_ENG_GER,
                                  IDM_ADD,   IDM_ADD_GER_ENG,   IDM_ADD_ENG_GER};
    for (UINT id : kItems)
        EnableMenuItem(app.menu, id, MF_BYCOMMAND | MF_ENABLED);
}
