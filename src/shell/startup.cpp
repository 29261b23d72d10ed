#include "startup.h"

#include <cstring>

#include "../state/app_state.h"
#include "../windows/german_keyboard.h"
#include "main_window.h"

const char kMainWindowTitle[] = "Vokabix  v1.3 - An Offline German/English/German Dictionary";

namespace {

constexpr DWORD kMainStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_VSCROLL;
constexpr DWORD kMainExStyle = WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE;

void FillWindowClass()
{
    WNDCLASSEXA& c = app.windowClassRecord;
    c.cbSize = sizeof(WNDCLASSEXA);
    c.style = CS_HREDRAW | CS_VREDRAW;
    c.lpfnWndProc = MainWindowProc;
    c.cbClsExtra = 0;
    c.cbWndExtra = 0;
    c.hInstance = app.instance;
    c.hIcon = app.icon;
    c.hCursor = nullptr;
    c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INACTIVECAPTION + 1);
    c.lpszMenuName = nullptr;
    c.lpszClassName = "Vokabix Class";
    c.hIconSm = app.icon;
}

void ComputeGeometry()
{
    const LONG units = GetDialogBaseUnits();
    ScreenMetrics metrics;
    metrics.screenWidth = static_cast<uint32_t>(GetSystemMetrics(SM_CXSCREEN));
    metrics.screenHeight = static_cast<uint32_t>(GetSystemMetrics(SM_CYSCREEN));
    metrics.baseUnitX = LOWORD(units);
    metrics.baseUnitY = HIWORD(units);
    metrics.captionHeight = static_cast<uint32_t>(GetSystemMetrics(SM_CYCAPTION));
    metrics.frameThickness = static_cast<uint32_t>(GetSystemMetrics(SM_CYFRAME));
    app.geometry = ComputeDialogGeometry(metrics, app.mainSize);
}

// The dialog key rule: after a dialog has taken a key, Tab moves on to the
// next of the program's windows, F4 shows the four-column list and F1 to F3
// type a German letter into that dialog.
void DialogKey(const MSG& message, HWND thisDialog, HWND otherDialog)
{
    if (message.message != WM_KEYDOWN)
        return;
    switch (message.wParam) {
    case VK_TAB:
        SetFocus(otherDialog != nullptr ? otherDialog : app.mainWindow);
        break;
    case VK_F4:
        SendMessageA(app.mainWindow, WM_SHOW_STRONGS, 0, 0);
        break;
    default:
        if (const char* letter = UmlautFor(static_cast<UINT>(message.wParam)))
            SendMessageA(thisDialog, WM_INSERT_TEXT, reinterpret_cast<WPARAM>(letter), 0);
        break;
    }
}

} // namespace

void StartUp(HINSTANCE instance)
{
    ResetAppState();
    app.instance = instance;
    app.icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAINICON));
    FillWindowClass();
    const uint32_t width = static_cast<uint32_t>(GetSystemMetrics(SM_CXSCREEN));
    const uint32_t height = static_cast<uint32_t>(GetSystemMetrics(SM_CYSCREEN));
    app.mainSize = ComputeMainWindowSize(width, height);
    RegisterClassExA(&app.windowClassRecord);

    app.mainWindow = CreateWindowExA(kMainExStyle, "Vokabix Class", kMainWindowTitle, kMainStyle, 0, 0,
                                     static_cast<int>(app.mainSize.mainWidth),
                                     static_cast<int>(app.mainSize.mainHeight), nullptr, nullptr, instance, nullptr);
    app.menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAINMENU));
    SetMenu(app.mainWindow, app.menu);
    SendMessageA(app.mainWindow, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(app.icon));
    ShowWindow(app.mainWindow, SW_SHOWNORMAL);
    UpdateWindow(app.mainWindow);
    ComputeGeometry();

    SendMessageA(app.mainWindow, WM_COMMAND, IDM_TRANS_GER_ENG, 0);
    SendMessageA(app.mainWindow, WM_COMMAND, IDM_ADD_GER_ENG, 0);
    std::memcpy(app.searchText, "x", 2);
    app.searchLength = 1;
    SendMessageA(app.mainWindow, WM_COMMAND, WM_RUN_SEARCH, 0);
}

void RouteMessage(MSG& message)
{
    if (app.searchDialog != nullptr && IsDialogMessageA(app.searchDialog, &message)) {
        DialogKey(message, app.searchDialog, app.addWordDialog);
        return;
    }
    if (app.addWordDialog != nullptr && IsDialogMessageA(app.addWordDialog, &message)) {
        DialogKey(message, app.addWordDialog, app.searchDialog);
        return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

int RunMessageLoop()
{
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) != 0)
        RouteMessage(message);
    // A quit from outside the exit path must not leave the German layout
    // behind either.
    RestoreKeyboardLayout();
    return 0;
}
