// The yardstick for the start-up time: the least a Win32 program does to put
// one line of text on the screen. It paints its command line in the list's
// font and colours, at the place where Vokabix paints its first row, so the
// driver can wait for both programs in the same way.
#include <windows.h>

namespace {

const char* lineToPaint = "";

LRESULT CALLBACK MinimalWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HFONT font = CreateFontA(15, 6, 0, 0, 500, 0, 0, 0, 0, 0, 0, 0, 0, "ARIAL");
        HGDIOBJ old = SelectObject(dc, font);
        SetBkColor(dc, GetSysColor(COLOR_INACTIVECAPTION));
        TextOutA(dc, 0, 0, lineToPaint, lstrlenA(lineToPaint));
        SelectObject(dc, old);
        DeleteObject(font);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    lineToPaint = commandLine;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MinimalWindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INACTIVECAPTION + 1);
    windowClass.lpszClassName = "Vokabix Minimal Class";
    RegisterClassExA(&windowClass);
    // The same place and size as the dictionary's main window.
    const int width = GetSystemMetrics(SM_CXSCREEN) * 7 / 10;
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int height = screenHeight * (screenHeight < 600 ? 26 : 23) / 100;
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "Minimal", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  width, height, nullptr, nullptr, instance, nullptr);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
