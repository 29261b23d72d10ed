// The arithmetic of the result list: page size, the trimmed clip rectangle,
// one-row scroll decisions and which row goes where. The Win32 layer feeds
// it measurements and carries out what it decides.
#pragma once
#include <cstdint>

#include "../shared/list_scroll.h"

// Used when the text metrics report no height, so the page size never
// divides by zero; it is the height of the list font.
constexpr int32_t kFallbackLineHeight = 15;

// A new main window's list: the scroll record's size, and only range and
// page for the bar until the first scroll request.
void InitListScroll(ListScrollState& state);

// A new list of rowCount rows, a search's or the four-column list's, shown
// from its top: position 0 and range rowCount, no one-row repaint waiting,
// and the rows of one page, or fewer, to draw.
void StartNewList(ListScrollState& state, int32_t rowCount);

// A new size: lineHeight from the window's default font, client from
// GetClientRect. Sets nPage, trims clientRect to whole rows and sets
// rowsToDraw; nPos is left alone.
void LayoutList(ListScrollState& state, int32_t lineHeight, const ListRect& client, int32_t resultCount);

// The first half of a scroll request: the bar is brought up to date with
// range, page and position (the caller pushes scrollInfo after this).
void BeginScroll(ListScrollState& state);

enum : uint32_t {
    kScrollLineUp = 0,
    kScrollLineDown = 1,
    kScrollEnd = 8,
};

struct ScrollMove {
    bool moved;       // the caller pushes scrollInfo again and scrolls
    int32_t dy;       // pixels: -lineHeight for a line down, +lineHeight up
    bool repaintAll;  // a one-row repaint was still waiting: repaint the page
};

// Decides a scroll request by its code. On a move, sets nPos, rowsToDraw 1,
// oneLineRepaint and firstRowOffset to the row that comes into view; when a
// move comes before the paint of the one before it, asks for a full repaint
// instead. paintPending says that the window still waits for a paint of
// some part of it, which a one-row repaint would not cover.
ScrollMove ScrollDecision(ListScrollState& state, uint32_t code, int32_t resultCount, int32_t recordSize,
                          bool paintPending = false);

struct PaintedRow {
    int32_t row;
    int32_t x;
    int32_t y;
};

// Which rows a paint draws and where, in order, written to rows (room for
// maxRows). Rows at or past rowLimit (the rows that hold a valid record) are
// not drawn and end the pass. Also does the paint's bookkeeping afterwards:
// updateRect.top back to 0, rowsToDraw back to a page after a one-line
// repaint, the flag cleared. Returns the number of rows.
int32_t PlanPaint(ListScrollState& state, int32_t recordSize, int32_t rowLimit, PaintedRow* rows,
                  int32_t maxRows);
