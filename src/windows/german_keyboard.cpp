#include "german_keyboard.h"

#include "../shell/app_state.h"

namespace {

struct UmlautKey {
    UINT virtualKey;
    char letter[2];
};

const UmlautKey kUmlautKeys[] = {
    {VK_F1, "\xFC"}, // ü
    {VK_F2, "\xE4"}, // ä
    {VK_F3, "\xF6"}, // ö
};

const char kGermanLayoutId[] = "00000407";

void SetBothCaptions(const char* caption)
{
    SetDlgItemTextA(app.searchDialog, IDC_GERMAN_KBD, caption);
    SetDlgItemTextA(app.addWordDialog, IDC_GERMAN_KBD, caption);
}

} // namespace

const char* UmlautFor(UINT virtualKey)
{
    for (const UmlautKey& key : kUmlautKeys)
        if (key.virtualKey == virtualKey)
            return key.letter;
    return nullptr;
}

void SetGermanKeyboard(int on)
{
    if (on) {
        app.germanLayout = LoadKeyboardLayoutA(kGermanLayoutId, KLF_ACTIVATE);
        SetBothCaptions(kGermanKeyboardOn);
    } else {
        UnloadKeyboardLayout(app.germanLayout);
        app.germanLayout = nullptr;
        SetBothCaptions(kGermanKeyboardOff);
    }
}

void GermanKeyboardClicked(HWND thisDialog, HWND otherDialog)
{
    const int on = SendDlgItemMessageA(thisDialog, IDC_GERMAN_KBD, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    SendDlgItemMessageA(otherDialog, IDC_GERMAN_KBD, BM_SETCHECK, static_cast<WPARAM>(on), 0);
    SetGermanKeyboard(on);
    SetFocus(thisDialog);
}
