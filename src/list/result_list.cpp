#include "result_list.h"

#include "../app/app_state.h"
#include "list_layout.h"

ListTextHook listTextHook = nullptr;

namespace {

// Draws one text of a record, but only when it lies wholly inside the view
// it was found in: a record never reads past the file's end.
void DrawText(HDC dc, int x, int y, const unsigned char* view, uint32_t size, uint32_t position, uint32_t length)
{
    if (view == nullptr || position > size || length > size - position)
        return;
    const char* text = reinterpret_cast<const char*>(view + position);
    TextOutA(dc, x, y, text, static_cast<int>(length));
    if (listTextHook != nullptr)
        listTextHook(x, y, text, static_cast<int>(length));
}

} // namespace

void UpdateListScrollBar(HWND window)
{
    SetScrollInfo(window, SB_VERT, reinterpret_cast<LPCSCROLLINFO>(&app.list.scrollInfo), TRUE);
}

void ShowFourColumnList(HWND window)
{
    UpdateListScrollBar(window);
    app.list.rowsToDraw = PageRows(app.list);
}

void EmptyResultList(HWND window)
{
    app.results.resultCount = 0;
    app.list.scrollInfo.nPos = 0;
    app.list.scrollInfo.nMax = 0;
    UpdateListScrollBar(window);
}

void InitListScroll()
{
    InitListScroll(app.list);
}

void LayoutResultList(HWND window)
{
    TEXTMETRICA metrics{};
    {
        ScopedWindowDC dc(window);
        GetTextMetricsA(dc.Get(), &metrics);
    }
    RECT client{};
    GetClientRect(window, &client);
    LayoutList(app.list, metrics.tmHeight, {client.left, client.top, client.right, client.bottom},
               app.results.resultCount);
}

void PaintResultRows(HDC dc)
{
    const bool strongs = app.strongs.loaded != 0;
    const DictionaryFile& d = app.dictionary;
    if (!strongs && d.view == nullptr)
        return;

    // Only rows that hold a record of the list now shown may be drawn: the
    // four-column records of this load, or the results of a search over the
    // dictionary that is mapped now.
    int32_t rowLimit;
    if (strongs)
        rowLimit = app.strongs.recordCount;
    else
        rowLimit = app.resultsGeneration == d.generation ? app.results.resultCount : 0;
    const int32_t recordSize = strongs ? kStrongsStride : kResultStride;
    const int32_t capacity = kResultTableBytes / recordSize;
    if (rowLimit > capacity)
        rowLimit = capacity;
    if (rowLimit > app.results.resultCount)
        rowLimit = app.results.resultCount;

    SetBkColor(dc, GetSysColor(COLOR_INACTIVECAPTION));
    PaintedRow rows[kResultCapacity];
    const int32_t count = PlanPaint(app.list, recordSize, rowLimit, rows, kResultCapacity);
    for (int32_t i = 0; i < count; ++i) {
        const PaintedRow& r = rows[i];
        if (strongs) {
            static const int kColumnX[4] = {0, 100, 200, 340};
            const StrongsRecord& record = app.results.table.strongs[r.row];
            for (int c = 0; c < 4; ++c)
                DrawText(dc, r.x + kColumnX[c], r.y, app.strongs.view, app.strongs.fileSize,
                         record.columns[c].position, record.columns[c].length);
        } else {
            const ResultRecord& record = app.results.table.results[r.row];
            DrawText(dc, r.x, r.y, d.view, d.fileSize, record.source, record.sourceLength);
            DrawText(dc, r.x + 290, r.y, d.view, d.fileSize, record.translation, record.translationLength);
        }
    }
}

LRESULT ScrollOneLine(HWND window, WPARAM request)
{
    BeginScroll(app.list);
    UpdateListScrollBar(window);
    const int32_t recordSize = app.strongs.loaded ? kStrongsStride : kResultStride;
    // Whatever still waits for a paint (the strip of a scroll before, or a
    // whole new list) moves with the pixels, and one row would not cover it.
    const bool paintPending = GetUpdateRect(window, nullptr, FALSE) != FALSE;
    const ScrollMove move =
        ScrollDecision(app.list, LOWORD(request), app.results.resultCount, recordSize, paintPending);
    if (move.moved) {
        UpdateListScrollBar(window);
        RECT clip{app.list.clientRect.left, app.list.clientRect.top, app.list.clientRect.right,
                  app.list.clientRect.bottom};
        RECT update{};
        ScrollWindowEx(window, 0, move.dy, nullptr, &clip, nullptr, &update, SW_INVALIDATE | SW_ERASE);
        if (move.repaintAll)
            InvalidateRect(window, nullptr, TRUE);
        else
            app.list.updateRect = {update.left, update.top, update.right, update.bottom};
        // Painted at once: a held key repeats faster than the queue gets to
        // WM_PAINT, and each strip is best drawn before the next scroll.
        UpdateWindow(window);
    }
    return 0;
}
