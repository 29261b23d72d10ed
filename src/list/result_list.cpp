#include "result_list.h"

#include "../state/gdi_owners.h"
#include "list_layout.h"

namespace {

// Draws one text of a record, but only when it lies wholly inside the view
// it was found in: a record never reads past the file's end.
void DrawRecordText(HDC dc, int x, int y, const MappedFile& file, uint32_t position, uint32_t length)
{
    if (file.view == nullptr || position > file.fileSize || length > file.fileSize - position)
        return;
    TextOutA(dc, x, y, reinterpret_cast<const char*>(file.view + position), static_cast<int>(length));
}

} // namespace

void UpdateListScrollBar(HWND window, const ListScrollState& list)
{
    SetScrollInfo(window, SB_VERT, reinterpret_cast<LPCSCROLLINFO>(&list.scrollInfo), TRUE);
}

void ShowFourColumnList(HWND window, ListScrollState& list)
{
    UpdateListScrollBar(window, list);
    list.rowsToDraw = PageRows(list);
}

void EmptyResultList(HWND window, ResultList& results, ListScrollState& list)
{
    results.resultCount = 0;
    list.scrollInfo.nPos = 0;
    list.scrollInfo.nMax = 0;
    UpdateListScrollBar(window, list);
}

void LayoutResultList(HWND window, ListScrollState& list, int32_t resultCount)
{
    TEXTMETRICA metrics{};
    {
        ScopedWindowDC dc(window);
        GetTextMetricsA(dc.Get(), &metrics);
    }
    RECT client{};
    GetClientRect(window, &client);
    LayoutList(list, metrics.tmHeight, {client.left, client.top, client.right, client.bottom}, resultCount);
}

void PaintResultRows(HDC dc, ListScrollState& list, const ResultList& results, uint32_t resultsGeneration,
                     const DictionaryFile& dictionary, const StrongsList& strongs)
{
    const bool fourColumns = strongs.loaded != 0;
    if (!fourColumns && dictionary.view == nullptr)
        return;

    // Only rows that hold a record of the list now shown may be drawn: the
    // four-column records of this load, or the results of a search over the
    // dictionary that is mapped now.
    int32_t rowLimit;
    if (fourColumns)
        rowLimit = strongs.recordCount;
    else
        rowLimit = resultsGeneration == dictionary.generation ? results.resultCount : 0;
    const int32_t recordSize = fourColumns ? kStrongsStride : kResultStride;
    const int32_t capacity = kResultTableBytes / recordSize;
    if (rowLimit > capacity)
        rowLimit = capacity;
    if (rowLimit > results.resultCount)
        rowLimit = results.resultCount;

    SetBkColor(dc, GetSysColor(COLOR_INACTIVECAPTION));
    PaintedRow rows[kResultCapacity];
    const int32_t count = PlanPaint(list, recordSize, rowLimit, rows, kResultCapacity);
    for (int32_t i = 0; i < count; ++i) {
        const PaintedRow& r = rows[i];
        if (fourColumns) {
            static const int kColumnX[4] = {0, 100, 200, 340};
            const StrongsRecord& record = results.table.strongs[r.row];
            for (int c = 0; c < 4; ++c)
                DrawRecordText(dc, r.x + kColumnX[c], r.y, strongs, record.columns[c].position,
                               record.columns[c].length);
        } else {
            const ResultRecord& record = results.table.results[r.row];
            DrawRecordText(dc, r.x, r.y, dictionary, record.source, record.sourceLength);
            DrawRecordText(dc, r.x + 290, r.y, dictionary, record.translation, record.translationLength);
        }
    }
}

LRESULT ScrollOneLine(HWND window, WPARAM request, ListScrollState& list, const ResultList& results)
{
    BeginScroll(list);
    UpdateListScrollBar(window, list);
    // Whatever still waits for a paint (the strip of a scroll before, or a
    // whole new list) moves with the pixels, and one row would not cover it.
    const bool paintPending = GetUpdateRect(window, nullptr, FALSE) != FALSE;
    const ScrollMove move = ScrollDecision(list, LOWORD(request), results.resultCount, results.rowStride, paintPending);
    if (move.moved) {
        UpdateListScrollBar(window, list);
        RECT clip{list.clientRect.left, list.clientRect.top, list.clientRect.right, list.clientRect.bottom};
        RECT update{};
        ScrollWindowEx(window, 0, move.dy, nullptr, &clip, nullptr, &update, SW_INVALIDATE | SW_ERASE);
        if (move.repaintAll)
            InvalidateRect(window, nullptr, TRUE);
        else
            list.updateRect = {update.left, update.top, update.right, update.bottom};
        // Painted at once: a held key repeats faster than the queue gets to
        // WM_PAINT, and each strip is best drawn before the next scroll.
        UpdateWindow(window);
    }
    return 0;
}
