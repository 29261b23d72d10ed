#include "keyboard_pictures.h"

#include "../state/app_state.h"

// In bitmap order: normal, Shift, Alt.
const char* const kKeyboardTitles[] = {
    "Normal German Keyboard Layout",
    "German Keyboard Layout - SHIFT held down",
    "German Keyboard Layout - ALT held down.",
};

namespace {

// Each layout's menu command is its bitmap's id less 2000 (IDM_KBD_NORMAL
// 1051 for IDB_KBD_NORMAL 3051, and so on), which is how the picture windows
// find the menu item to gray and give back.
constexpr int kBitmapToMenuCommand = IDM_KBD_NORMAL - IDB_KBD_NORMAL;
static_assert(IDM_KBD_SHIFT - IDB_KBD_SHIFT == kBitmapToMenuCommand &&
                  IDM_KBD_ALT - IDB_KBD_ALT == kBitmapToMenuCommand,
              "every layout's command is its bitmap's id less 2000");

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
    return IDB_KBD_NORMAL + slot + kBitmapToMenuCommand;
}

void ClosePicture(HWND window)
{
    const int slot = SlotOf(window);
    if (slot >= 0)
        EnableMenuItem(app.menu, static_cast<UINT>(MenuCommandOf(slot)), MF_BYCOMMAND | MF_ENABLED);
    SetFocus(app.mainWindow);
}

} // namespace

void OpenKeyboardPicture(int bitmapId)
{
    KeyboardPictures& p = app.pictures;
    p.chosenLayout = bitmapId;
    const int slot = bitmapId - IDB_KBD_NORMAL;
    if (slot < 0 || slot >= kKeyboardLayouts)
        return;
    // The layout's window is closed (its item was grayed while it was
    // open), so its old picture is no longer painted anywhere.
    p.bitmaps[slot].Reset(LoadBitmapA(app.instance, MAKEINTRESOURCEA(bitmapId)));
    p.bitmapToPaint = p.bitmaps[slot].Get();
    ShowKeyboardPicture();
}

void ShowKeyboardPicture()
{
    KeyboardPictures& p = app.pictures;
    const int slot = p.chosenLayout - IDB_KBD_NORMAL;
    if (slot < 0 || slot >= kKeyboardLayouts)
        return;
    EnableMenuItem(app.menu, static_cast<UINT>(p.chosenLayout + kBitmapToMenuCommand), MF_BYCOMMAND | MF_GRAYED);

    // Registering again once the class exists fails, which is expected.
    p.classRecord.cbSize = sizeof(WNDCLASSEXA);
    p.classRecord.style = CS_HREDRAW | CS_VREDRAW;
    p.classRecord.lpfnWndProc = KeyboardPictureProc;
    p.classRecord.lpszClassName = "ShowKbd Class";
    RegisterClassExA(&p.classRecord);

    p.windows[slot] = CreateWindowExA(WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE, "ShowKbd Class", kKeyboardTitles[slot],
                                      WS_VISIBLE | WS_CAPTION | WS_SYSMENU, 400, 140, 350, 150, nullptr, nullptr,
                                      app.instance, nullptr);
    PaintKeyboardPicture(p.windows[slot]);
}

LRESULT PaintKeyboardPicture(HWND window)
{
    ScopedPaint paint(window);
    ScopedMemoryDC memory(paint.Get());
    BITMAP picture{};
    if (app.pictures.bitmapToPaint != nullptr &&
        GetObjectA(app.pictures.bitmapToPaint, sizeof(picture), &picture) == sizeof(picture)) {
        ScopedSelect selected(memory.Get(), app.pictures.bitmapToPaint);
        const int width = picture.bmWidth < 350 ? picture.bmWidth : 350;
        const int height = picture.bmHeight < 148 ? picture.bmHeight : 148;
        BitBlt(paint.Get(), 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
        // The pictures are a little smaller than the window, whose class
        // erases no background: what lies beside and below them gets the
        // picture's own background, its corner colour, rather than
        // whatever was on the screen before.
        RECT client{};
        GetClientRect(window, &client);
        const ScopedGdiObject<HBRUSH> background(CreateSolidBrush(GetPixel(memory.Get(), 0, 0)));
        const RECT right{width, 0, client.right, client.bottom};
        const RECT below{0, height, width, client.bottom};
        FillRect(paint.Get(), &right, background.Get());
        FillRect(paint.Get(), &below, background.Get());
    }
    return 0;
}

LRESULT CALLBACK KeyboardPictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        const int slot = SlotOf(window);
        if (slot >= 0) {
            app.pictures.bitmapToPaint = app.pictures.bitmaps[slot].Get();
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
