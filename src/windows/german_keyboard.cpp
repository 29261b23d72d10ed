#include "german_keyboard.h"

#include "../state/app_state.h"
#include "dialog_templates.h"

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

// Enough for any desktop; with more layouts than this the program cannot
// tell whether it loaded the German one, and so leaves it loaded.
constexpr int kMaxLayouts = 64;

void SetBothCaptions(const char* caption)
{
    SetDlgItemTextA(app.searchDialog, IDC_GERMAN_KBD, caption);
    SetDlgItemTextA(app.addWordDialog, IDC_GERMAN_KBD, caption);
}

bool LayoutWasLoaded(HKL layout, const HKL* loaded, int count)
{
    for (int i = 0; i < count; ++i)
        if (loaded[i] == layout)
            return true;
    return false;
}

// From Windows 8 on the layout is loaded for the whole session, so what the
// user had is noted first, to be put back when the program is done with it.
void SwitchToGerman()
{
    if (app.germanKeyboardOn) {
        app.germanLayout = LoadKeyboardLayoutA(kGermanLayoutId, KLF_ACTIVATE);
        return;
    }
    app.layoutBeforeGerman = GetKeyboardLayout(0);
    HKL loaded[kMaxLayouts];
    const int total = GetKeyboardLayoutList(0, nullptr);
    const int count = total > 0 && total <= kMaxLayouts ? GetKeyboardLayoutList(kMaxLayouts, loaded) : -1;
    app.germanLayout = LoadKeyboardLayoutA(kGermanLayoutId, KLF_ACTIVATE);
    app.germanLayoutLoadedHere =
        app.germanLayout != nullptr && count >= 0 && !LayoutWasLoaded(app.germanLayout, loaded, count);
    app.germanKeyboardOn = true;
}

} // namespace

const char* UmlautFor(UINT virtualKey)
{
    for (const UmlautKey& key : kUmlautKeys)
        if (key.virtualKey == virtualKey)
            return key.letter;
    return nullptr;
}

void RestoreKeyboardLayout()
{
    if (!app.germanKeyboardOn)
        return;
    if (app.layoutBeforeGerman != nullptr)
        ActivateKeyboardLayout(app.layoutBeforeGerman, 0);
    if (app.germanLayoutLoadedHere && app.germanLayout != app.layoutBeforeGerman)
        UnloadKeyboardLayout(app.germanLayout);
    app.germanLayout = nullptr;
    app.layoutBeforeGerman = nullptr;
    app.germanLayoutLoadedHere = false;
    app.germanKeyboardOn = false;
}

void SetGermanKeyboard(int on)
{
    if (on) {
        SwitchToGerman();
        SetBothCaptions(kGermanKeyboardOn);
    } else {
        RestoreKeyboardLayout();
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
