#include "about_window.h"

#include "../state/app_state.h"

// Every line is exactly 62 characters, blanks included: the lines are drawn
// whole, so their opaque background fills the same width under each.
const char kAboutText[kAboutLines][kAboutLineChars + 1] = {
    "       Vokabix      Version. 1.3.                             ",
    "A German < > English  Dictionary                              ",
    "German > English Module Done 08/30/07                         ",
    "English > German Module Expected by Spring 2009               ",
    "Platform  : Microsoft Windows, 32-bit (Win32 API)             ",
    "          : tested under Wine 8.0, which reports Windows 7    ",
    "Author    : the Vokabix developers                            ",
    "Licence   : MIT                                               ",
    "Compiler  : MinGW-w64 GCC 12 (i686-w64-mingw32-g++-win32)     ",
    "Build     : CMake 3.25.1                                      ",
    "          : GNU windres (binutils) 2.40                       ",
    "Last Update : December 29, 2008                               ",
};

namespace {

ScopedGdiObject<HFONT> AboutFont(int height, int width, int weight)
{
    return ScopedGdiObject<HFONT>(CreateFontA(height, width, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                              DEFAULT_PITCH | FF_DONTCARE, "ARIAL"));
}

void DrawAboutText(HWND window)
{
    // The fonts outlive the selections, which put the old fonts back first.
    const ScopedGdiObject<HFONT> title = AboutFont(18, 8, 800);
    const ScopedGdiObject<HFONT> body = AboutFont(15, 6, 500);
    ScopedPaint paint(window);
    HDC dc = paint.Get();
    SetBkColor(dc, GetSysColor(COLOR_INACTIVECAPTION));
    ScopedSelect titleFont(dc, title.Get());
    TextOutA(dc, 5, 5, kAboutText[0], kAboutLineChars);
    SetTextColor(dc, RGB(0, 0, 0));
    ScopedSelect bodyFont(dc, body.Get());
    for (int line = 1; line < kAboutLines; ++line)
        TextOutA(dc, 5, 35 + 15 * (line - 1), kAboutText[line], kAboutLineChars);
}

} // namespace

void ShowAboutWindow()
{
    // The About class shares everything with the main class but its name and
    // procedure; registering it a second time fails, which is expected.
    app.windowClassRecord.lpszClassName = "About Class";
    app.windowClassRecord.lpfnWndProc = AboutWindowProc;
    RegisterClassExA(&app.windowClassRecord);
    app.aboutWindow = CreateWindowExA(WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE, "About Class", "About Vokabix",
                                      WS_VISIBLE | WS_CAPTION | WS_SYSMENU, 100, 20, 360, 230, nullptr, nullptr,
                                      app.instance, nullptr);
    if (app.aboutWindow != nullptr)
        DrawAboutText(app.aboutWindow);
}

LRESULT CALLBACK AboutWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Escape closes the window it was typed in, so with several About
    // windows open each closes by itself.
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        DestroyWindow(window);
        return 0;
    }
    // Drawn again at every paint: covering the window, a theme change or a
    // remote session would otherwise leave only the background.
    if (message == WM_PAINT) {
        DrawAboutText(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
