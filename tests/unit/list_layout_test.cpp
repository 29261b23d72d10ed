#include <gtest/gtest.h>

#include <vector>

#include "list/list_layout.h"

namespace {

struct List {
    ListScrollState state{};
    int32_t rows;

    List(int32_t rowCount, int32_t clientHeight, int32_t lineHeight = 16) : rows(rowCount)
    {
        InitListScroll(state);
        Resize(clientHeight, lineHeight);
    }
    void Resize(int32_t clientHeight, int32_t lineHeight = 16)
    {
        LayoutList(state, lineHeight, {0, 0, 500, clientHeight}, rows);
    }
    // What the next paint draws: (row, y) pairs.
    std::vector<std::pair<int32_t, int32_t>> Paint(int32_t recordSize = 16)
    {
        PaintedRow painted[500];
        const int32_t n = PlanPaint(state, recordSize, rows, painted, 500);
        std::vector<std::pair<int32_t, int32_t>> out;
        for (int32_t i = 0; i < n; ++i) {
            EXPECT_EQ(painted[i].x, state.updateRect.left);
            out.emplace_back(painted[i].row, painted[i].y);
        }
        return out;
    }
    bool paintPending = false;
    // A scroll request followed by the strip the platform reports.
    ScrollMove Scroll(uint32_t code)
    {
        BeginScroll(state);
        const ScrollMove move = ScrollDecision(state, code, rows, 16, paintPending);
        if (move.moved && !move.repaintAll) {
            const ListRect& clip = state.clientRect;
            state.updateRect = move.dy < 0 ? ListRect{0, clip.bottom + move.dy, clip.right, clip.bottom}
                                           : ListRect{0, 0, clip.right, move.dy};
        }
        return move;
    }
};

TEST(ListLayout, PageIsTheWholeRowsThatFit)
{
    List a(10, 100);
    EXPECT_EQ(a.state.scrollInfo.nPage, 6u);
    EXPECT_EQ(a.state.clientRect.bottom, 96);
    List b(10, 96);
    EXPECT_EQ(b.state.scrollInfo.nPage, 6u);
    EXPECT_EQ(b.state.clientRect.bottom, 96);
    EXPECT_EQ(a.state.scrollInfo.cbSize, 28u);
    EXPECT_EQ(a.state.scrollInfo.fMask, 3u);
}

TEST(ListLayout, ResizeRedrawsAsManyRowsAsFit)
{
    List l(10, 100);
    EXPECT_EQ(l.Paint().size(), 6u);
    l.Resize(64);
    EXPECT_EQ(l.Paint().size(), 4u);
    l.Resize(192);
    const auto rows = l.Paint();
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[9], std::make_pair(9, 144));
    l.Resize(0);
    EXPECT_EQ(l.state.scrollInfo.nPage, 0u);
    EXPECT_EQ(l.state.rowsToDraw, 0);
}

// Scrolls can come faster than paints (a held key). The strip of the first
// moves on with the pixels, so one row would leave it blank: the next paint
// draws the whole page, from the top. A resize repaints the page anyway.
TEST(ListLayout, AScrollBeforeTheLastOnesPaintRepaintsThePage)
{
    std::vector<std::pair<int32_t, int32_t>> page;
    for (int32_t row = 2; row < 8; ++row)
        page.emplace_back(row, (row - 2) * 16);

    List l(10, 100);
    l.Paint();
    EXPECT_FALSE(l.Scroll(kScrollLineDown).repaintAll);
    EXPECT_TRUE(l.Scroll(kScrollLineDown).repaintAll);
    EXPECT_EQ(l.Paint(), page);

    // The platform still waits to paint some part (a new list, say).
    l.paintPending = true;
    EXPECT_TRUE(l.Scroll(kScrollLineDown).repaintAll);
    l.paintPending = false;
    l.Paint();

    EXPECT_FALSE(l.Scroll(kScrollLineUp).repaintAll);
    l.Resize(100);
    EXPECT_EQ(l.Paint(), page);
}

TEST(ListLayout, ZeroLineHeightNeverDividesByZero)
{
    List l(10, 100, 0);
    EXPECT_GT(l.state.lineHeight, 0);
    EXPECT_EQ(l.state.scrollInfo.nPage, static_cast<uint32_t>(100 / l.state.lineHeight));
}

TEST(ListScroll, LineDownDrawsOnlyTheRowComingIntoViewAtTheBottom)
{
    List l(10, 100);
    l.state.scrollInfo.nPos = 3;
    const ScrollMove move = l.Scroll(kScrollLineDown);
    ASSERT_TRUE(move.moved);
    EXPECT_EQ(move.dy, -16);
    EXPECT_EQ(l.state.scrollInfo.nPos, 4);
    EXPECT_EQ(l.state.scrollInfo.fMask, 23u);
    EXPECT_EQ(l.state.updateRect.top, 80);
    EXPECT_EQ(l.Paint(), (std::vector<std::pair<int32_t, int32_t>>{{9, 80}}));
    // The next full repaint is a whole page from the new top row.
    const auto page = l.Paint();
    ASSERT_EQ(page.size(), 6u);
    EXPECT_EQ(page.front(), std::make_pair(4, 0));

    EXPECT_FALSE(l.Scroll(kScrollLineDown).moved) << "4 is the last top row for 10 rows and a page of 6";
    EXPECT_EQ(l.state.scrollInfo.nPos, 4);
}

TEST(ListScroll, LineUpDrawsTheRowAtTheTop)
{
    List l(10, 100);
    l.state.scrollInfo.nPos = 4;
    const ScrollMove move = l.Scroll(kScrollLineUp);
    ASSERT_TRUE(move.moved);
    EXPECT_EQ(move.dy, 16);
    EXPECT_EQ(l.Paint(), (std::vector<std::pair<int32_t, int32_t>>{{3, 0}}));
    l.state.scrollInfo.nPos = 0;
    EXPECT_FALSE(l.Scroll(kScrollLineUp).moved);
}

TEST(ListScroll, OtherRequestsMoveNothing)
{
    List l(10, 100);
    l.state.scrollInfo.nPos = 2;
    for (uint32_t code : {2u, 3u, 4u, 5u, 6u, 7u}) {
        EXPECT_FALSE(l.Scroll(code).moved);
        EXPECT_EQ(l.state.scrollInfo.nPos, 2);
        EXPECT_EQ(l.state.oneLineRepaint, 0);
    }
}

TEST(ListScroll, EndScrollKeepsThePendingOneRowRepaint)
{
    List l(10, 100);
    ASSERT_TRUE(l.Scroll(kScrollLineDown).moved);
    EXPECT_FALSE(l.Scroll(kScrollEnd).moved);
    EXPECT_EQ(l.Paint(), (std::vector<std::pair<int32_t, int32_t>>{{6, 80}}));
}

TEST(ListPaint, RowsPastTheListOrWithoutARecordAreNotDrawn)
{
    // Grown while scrolled near the end: the space below the last row stays
    // empty.
    List l(10, 100);
    l.state.scrollInfo.nPos = 4;
    l.Resize(192);
    const auto rows = l.Paint();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows.back(), std::make_pair(9, 80));

    // A four-column list counts lines but holds fewer records.
    List strongs(20, 100);
    PaintedRow painted[500];
    strongs.state.rowsToDraw = 6;
    EXPECT_EQ(PlanPaint(strongs.state, 32, 2, painted, 500), 2);
    EXPECT_EQ(strongs.state.firstRowOffset, 0);
}

} // namespace

TEST(ListLayout, ANewListStartsAtItsTopWithAPageOrFewerToDraw)
{
    ListScrollState state{};
    state.scrollInfo.nPage = 20;
    state.scrollInfo.nPos = 7;
    state.oneLineRepaint = 1;
    state.firstRowOffset = 48;
    StartNewList(state, 11);
    EXPECT_EQ(state.rowsToDraw, 11);
    EXPECT_EQ(state.scrollInfo.nMax, 11);
    EXPECT_EQ(state.scrollInfo.nPos, 0);
    EXPECT_EQ(state.oneLineRepaint, 0);
    EXPECT_EQ(state.firstRowOffset, 0);

    StartNewList(state, 30);
    EXPECT_EQ(state.rowsToDraw, 20);
    EXPECT_EQ(state.scrollInfo.nMax, 30);

    state.scrollInfo.nPos = 3;
    StartNewList(state, 0);
    EXPECT_EQ(state.rowsToDraw, 0);
    EXPECT_EQ(state.scrollInfo.nMax, 0);
    EXPECT_EQ(state.scrollInfo.nPos, 0);
}
