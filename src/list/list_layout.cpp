#include "list_layout.h"

void InitListScroll(ListScrollState& state)
{
    state.scrollInfo.cbSize = kScrollInfoSize;
    state.scrollInfo.fMask = kScrollMaskRangePage;
}

void StartNewList(ListScrollState& state, int32_t rowCount)
{
    state.oneLineRepaint = 0;
    state.firstRowOffset = 0;
    state.scrollInfo.nPos = 0;
    state.scrollInfo.nMax = rowCount;
    state.rowsToDraw = rowCount <= PageRows(state) ? rowCount : PageRows(state);
}

void LayoutList(ListScrollState& state, int32_t lineHeight, const ListRect& client, int32_t resultCount)
{
    state.lineHeight = lineHeight > 0 ? lineHeight : kFallbackLineHeight;
    state.clientRect = client;
    const int32_t height = client.bottom > client.top ? client.bottom - client.top : 0;
    const int32_t page = height / state.lineHeight;
    state.clientRect.bottom -= height % state.lineHeight;
    state.scrollInfo.nPage = static_cast<uint32_t>(page);
    state.rowsToDraw = page < resultCount ? page : resultCount;
    if (state.rowsToDraw < 0)
        state.rowsToDraw = 0;
    // Every resize repaints the whole list, so a one-row repaint still
    // waiting from a scroll before it would draw one row into a full page.
    state.oneLineRepaint = 0;
    state.updateRect.top = 0;
}

void BeginScroll(ListScrollState& state)
{
    state.scrollInfo.cbSize = kScrollInfoSize;
    state.scrollInfo.fMask = kScrollMaskAll;
}

ScrollMove ScrollDecision(ListScrollState& state, uint32_t code, int32_t resultCount, int32_t recordSize,
                          bool paintPending)
{
    ScrollInfo& info = state.scrollInfo;
    const int32_t oldPos = info.nPos;
    const bool repaintPending = state.oneLineRepaint != 0 || paintPending;
    switch (code) {
    case kScrollEnd:
        return {false, 0, false};
    case kScrollLineDown:
        if (info.nPos < resultCount - PageRows(state)) {
            state.oneLineRepaint = 1;
            state.firstRowOffset = (info.nPos + PageRows(state)) * recordSize;
            info.nPos += 1;
        }
        break;
    case kScrollLineUp:
        if (info.nPos > info.nMin) {
            state.oneLineRepaint = 1;
            info.nPos -= 1;
            state.firstRowOffset = info.nPos * recordSize;
        }
        break;
    default:
        state.oneLineRepaint = 0;
        return {false, 0, false};
    }
    if (info.nPos == oldPos)
        return {false, 0, false};
    const int32_t dy = (oldPos - info.nPos) * state.lineHeight;
    if (repaintPending) {
        // The strip of the scroll before has not been painted yet and has
        // moved on with the pixels: one row would leave it blank.
        state.oneLineRepaint = 0;
        state.rowsToDraw = PageRows(state);
        state.updateRect.left = 0;
        state.updateRect.top = 0;
        return {true, dy, true};
    }
    state.rowsToDraw = 1;
    return {true, dy, false};
}

int32_t PlanPaint(ListScrollState& state, int32_t recordSize, int32_t rowLimit, PaintedRow* rows,
                  int32_t maxRows)
{
    const int32_t x = state.updateRect.left;
    int32_t y = state.updateRect.top;
    if (!state.oneLineRepaint)
        state.firstRowOffset = state.scrollInfo.nPos * recordSize;
    int32_t count = 0;
    if (recordSize > 0 && state.firstRowOffset >= 0) {
        int32_t row = state.firstRowOffset / recordSize;
        for (int32_t i = 0; i < state.rowsToDraw && count < maxRows; ++i, ++row) {
            if (row >= rowLimit)
                break;
            rows[count++] = {row, x, y};
            if (!state.oneLineRepaint)
                y += state.lineHeight;
        }
    }
    state.updateRect.top = 0;
    if (state.oneLineRepaint)
        state.rowsToDraw = PageRows(state);
    state.oneLineRepaint = 0;
    return count;
}
