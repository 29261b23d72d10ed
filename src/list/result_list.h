// The result list in the main window's client area: layout at every size,
// painting of the visible rows, and scrolling by one row.
#pragma once
#include <windows.h>

void InitListScroll();
void LayoutResultList(HWND window);
void PaintResultRows(HDC dc);
LRESULT ScrollOneLine(HWND window, WPARAM request);

// Every text the painter draws also goes here when set; tests record rows.
using ListTextHook = void (*)(int x, int y, const char* text, int length);
extern ListTextHook listTextHook;
