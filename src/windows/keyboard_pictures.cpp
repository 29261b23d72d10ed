#include "keyboard_pictures.h"

#include "../shell/app_state.h"

// In bitmap order: normal, Shift, Alt.
const char* const kKeyboardTitles[] = {
    "Normal German Keyboard Layout",
    "German Keyboard Layout - SHIFT held down",
    "German Keyboard Layout - ALT held down.",
};

namespace {

// The layout slot (0 normal, 1 Shift, 2 Alt) whose window this is, or -1.
// Looked up as normal, Alt, Shift.
int SlotOf(HWND window)
{
    static const int kOrder[] = {0, 2, 1};
    for (int slot : kOrder)
        if (app.pictures.windows[slot] == window)
            return slot;
    return -1;
}

int MenuCommandOf(int slot)
{
    return IDB_KBD_NORMAL + slot - 2000;
}

void ClosePicture(HWND window)
{
    const int slot = SlotOf(window);
    if (slot >= 0)
        EnableMenuItem(app.menu, static_cast<UINT>(MenuCommandOf(slot)), MF_BYCOMMAND | MF_ENABLED);
    SetFocus(app.mainWindow);
}

} // namespace

void ShowKeyboardPicture()
{
    KeyboardPictures& p = app.pictures;
    const int slot = p.chosenLayout - IDB_KBD_NORMAL;
    if (slot < 0 || slot >= kKeyboardLayouts)
        return;
    EnableMenuItem(app.menu, static_cast<UINT>(p.chosenLayout - 2000), MF_BYCOMMAND | MF_GRAYED);

    // Registering again once the class exists fails, which is expected.
    p.classRecord.cbSize = sizeof(WNDCLASSEXA);
    p.classRecord.style = CS_HREDRAW | CS_VREDRAW;
    p.classRecord.lpfnWndProc = KeyboardPictureProc;
    p.classRecord.lpszClassName = "ShowKbd Class";
    RegisterClassExA(&p.classRecord);

    p.windows[slot] = CreateWindowExA(0x300, "ShowKbd Class", kKeyboardTitles[slot], 0x10C80000, 400, 140, 350, 150,
                                      nullptr, nullptr, app.instance, nullptr);
    PaintKeyboardPicture(p.windows[slot]);
}

LRESULT PaintKeyboardPicture(HWND window)
{
    ScopedPaint paint(window);
    HDC memory = CreateCompatibleDC(paint.Get());
    {
        ScopedSelect picture(memory, app.pictures.bitmapToPaint);
        BitBlt(paint.Get(), 0, 0, 350, 148, memory, 0, 0, SRCCOPY);
    }
    DeleteDC(memory);
    return 0;
}

LRESULT CALLBACK KeyboardPictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        const int slot = SlotOf(window);
        if (slot >= 0) {
            app.pictures.bitmapToPaint = app.pictures.bitmaps[slot];
            PaintKeyboardPicture(window);
        }
        break;
    }
    case WM_DESTROY:
        ClosePicture(window);
        break;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            ClosePicture(window);
            DestroyWindow(window);
        } else if (wParam == VK_TAB) {
            SetFocus(app.mainWindow);
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
