// The result list in the main window's client area: layout at every size,
// painting of the visible rows, and scrolling by one row.
#pragma once
#include <windows.h>

void InitListScroll();
void LayoutResultList(HWND window);
void PaintResultRows(HDC dc);
LRESULT ScrollOneLine(HWND window, WPARAM request);

// Hands the list's scroll state to the window's scroll bar.
void UpdateListScrollBar(HWND window);
// The four-column list just loaded: the bar first, since its change can
// re-lay out the list, then always a full page of rows, records or not.
void ShowFourColumnList(HWND window);
// No list: no rows, and a scroll bar without a range; an old range over an
// empty list would offer rows that are not there.
void EmptyResultList(HWND window);

// Every text the painter draws also goes here when set; tests record rows.
using ListTextHook = void (*)(int x, int y, const char* text, int length);
extern ListTextHook listTextHook;
