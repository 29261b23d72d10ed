// The result list in the main window's client area, on the list state and
// data files it is handed: its layout at every size, the painting of the
// visible rows, scrolling by one row, and the scroll bar that shows where
// the list stands.
#pragma once
#include <windows.h>

#include "../data/win32/file_state.h"
#include "../shared/list_scroll.h"
#include "../shared/result_table.h"

void LayoutResultList(HWND window, ListScrollState& list, int32_t resultCount);

// Draws the rows due. Dictionary rows are drawn only from the dictionary
// generation the results were found in (resultsGeneration); rows of the
// four-column list only where this load stored a record.
void PaintResultRows(HDC dc, ListScrollState& list, const ResultList& results, uint32_t resultsGeneration,
                     const DictionaryFile& dictionary, const StrongsList& strongs);

LRESULT ScrollOneLine(HWND window, WPARAM request, ListScrollState& list, const ResultList& results);

// Hands the list's scroll state to the window's scroll bar.
void UpdateListScrollBar(HWND window, const ListScrollState& list);
// The four-column list just loaded: the bar first, since its change can
// re-lay out the list, then always a full page of rows, records or not.
void ShowFourColumnList(HWND window, ListScrollState& list);
// No list: no rows, and a scroll bar without a range; an old range over an
// empty list would offer rows that are not there.
void EmptyResultList(HWND window, ResultList& results, ListScrollState& list);
