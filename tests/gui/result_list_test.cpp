// The list in the main window as the user meets it: the arrow keys and the
// scroll bar's arrows, which rows each repaint draws and where, resizing,
// and what painting costs in GDI objects.
#include "gui_fixture.h"

#include <windows.h>
#include <winternl.h>

#include <cstdint>

#include "list/result_list.h"
#include "shell/startup.h"

namespace {

constexpr int kTranslationX = 290;

// The source of a line as the list draws it: the word and the blanks that
// pad it to the asterisk.
std::string SourceOf(const std::string& word)
{
    const std::string line = FixedLine(word, "");
    return line.substr(0, line.find('*'));
}

// The texts of count rows of NumberedLines(stem, ...), from row first on,
// the first at y and each further one pitch lower.
std::vector<ListTextSeen> Rows(const std::string& stem, int first, int count, int y, int pitch)
{
    std::vector<ListTextSeen> texts;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(first + i);
        texts.push_back({0, y + i * pitch, SourceOf(stem + n), nullptr});
        texts.push_back({kTranslationX, y + i * pitch, "t" + n, nullptr});
    }
    return texts;
}

int ClientHeight()
{
    RECT client;
    GetClientRect(app.mainWindow, &client);
    return client.bottom - client.top;
}


// Live GDI objects of this process, stock objects left out. Wine's
// GetGuiResources is a stub that always answers 0, so there the count is
// taken from the process's GDI handle table, which Wine keeps in the
// Windows layout and publishes in the PEB as Windows does.
struct GdiHandleEntry {
    uint64_t object;
    uint32_t owner;
    uint16_t unique; // bit 7: stock object
    uint8_t type;    // 0: free
    uint8_t flags;
    uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24, "GDI handle table entry");
constexpr int kGdiHandleCount = 0x10000;

int LiveGdiObjects()
{
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0)
        return static_cast<int>(reported);
    using QueryProcess = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (query == nullptr || query(GetCurrentProcess(), 0, &basic, sizeof(basic), nullptr) != 0)
        return -1;
    // GdiSharedHandleTable in the PEB; Wine's entries are 24 bytes in 32-
    // and 64-bit processes alike.
    const size_t tableField = sizeof(void*) == 8 ? 0xF8 : 0x94;
    const GdiHandleEntry* table = *reinterpret_cast<const GdiHandleEntry* const*>(
        reinterpret_cast<const unsigned char*>(basic.PebBaseAddress) + tableField);
    if (table == nullptr)
        return -1;
    int live = 0;
    for (int i = 0; i < kGdiHandleCount; ++i)
        if (table[i].type != 0 && (table[i].unique & 0x80) == 0)
            ++live;
    return live;
}

// A few rows more than a page of the start-up window on the 1024 x 768
// desktop (7 rows); few enough that walking the list line by line stays
// quick, as every line scroll redraws the scroll bar twice.
constexpr int kManyRows = 12;

class ResultListWindow : public ProgramTest {
protected:
    // Starts the program with rows entries beginning with "x" in the German
    // dictionary, and a few that the start-up search passes over.
    void StartWithRows(int rows)
    {
        WriteFile("GerEng.dat", GerEngFile(NumberedLines("xa", rows) + NumberedLines("ya", 3)));
        Start();
        lineHeight = WindowFontHeight();
        page = PageRows(app.list);
        if (rows == kManyRows) {
            ASSERT_GE(kManyRows, page + 3) << "the tests scroll at least three rows";
        }
    }
    // A request from the scroll bar; the list repaints before it returns.
    void ScrollBar(WORD code, WORD position = 0)
    {
        SendMessageA(app.mainWindow, WM_VSCROLL, MAKEWPARAM(code, position), 0);
        UpdateWindow(app.mainWindow);
        Pump();
    }
    void FullRepaint()
    {
        InvalidateRect(app.mainWindow, nullptr, TRUE);
        UpdateWindow(app.mainWindow);
    }
    int Position() const { return ScrollInfo().nPos; }
    std::vector<ListTextSeen> RowsFrom(int first, int count, int y) const
    {
        return Rows("xa", first, count, y, lineHeight);
    }

    ListTextRecorder drawn;
    int lineHeight = 0;
    int page = 0;
};

TEST_F(ResultListWindow, UpAndDownDoNothingUntilTheListFillsAPage)
{
    const int measured = MeasurePageRows();

    // Fewer rows than a page: the request is dropped before anything,
    // the focus included, changes.
    StartWithRows(measured - 1);
    HWND focus = GetFocus();
    ASSERT_EQ(focus, GetDlgItem(app.searchDialog, IDC_SEARCH_EDIT));
    drawn.Clear();
    KeyTo(app.mainWindow, VK_DOWN);
    KeyTo(app.mainWindow, VK_UP);
    ScrollBar(SB_LINEDOWN);
    ScrollBar(SB_LINEUP);
    EXPECT_EQ(GetFocus(), focus) << "not even the focus moves";
    EXPECT_EQ(Position(), 0);
    EXPECT_TRUE(drawn.Texts().empty());
    EXPECT_EQ(app.list.scrollInfo.fMask, static_cast<UINT>(SIF_RANGE | SIF_PAGE)) << "no request reached the list";
    Stop();

    // Exactly a page: each request takes the focus to the list, which has
    // nowhere to move.
    StartWithRows(measured);
    HWND entry = GetDlgItem(app.addWordDialog, IDC_ENTRY_EDIT);
    ASSERT_EQ(GetFocus(), entry);
    drawn.Clear();
    KeyTo(app.mainWindow, VK_DOWN);
    EXPECT_EQ(GetFocus(), app.mainWindow) << "Down is passed on";
    SetFocus(entry);
    KeyTo(app.mainWindow, VK_UP);
    EXPECT_EQ(GetFocus(), app.mainWindow) << "Up is passed on";
    SetFocus(entry);
    ScrollBar(SB_LINEDOWN);
    EXPECT_EQ(GetFocus(), app.mainWindow) << "the bar's down arrow is passed on";
    SetFocus(entry);
    ScrollBar(SB_LINEUP);
    EXPECT_EQ(GetFocus(), app.mainWindow) << "the bar's up arrow is passed on";
    EXPECT_EQ(Position(), 0);
    EXPECT_TRUE(drawn.Texts().empty()) << "a whole page shown: nothing to scroll";
}

TEST_F(ResultListWindow, LineScrollsMoveOneRowAndDrawOnlyTheRowThatComesIntoView)
{
    ASSERT_NO_FATAL_FAILURE(StartWithRows(kManyRows));
    ASSERT_EQ(GetFocus(), app.mainWindow);
    ASSERT_GT(page, 1);
    ASSERT_EQ(page, ClientHeight() / lineHeight) << "a page is the whole rows of the window's font";
    const int last = kManyRows - page;
    // After a line down the rows move up; the strip left at the bottom of
    // the whole rows is the only thing drawn.
    const int bottomStrip = (page - 1) * lineHeight;

    // Down to the last page, by key and by the bar's arrow in turn.
    for (int pos = 1; pos <= last; ++pos) {
        drawn.Clear();
        if (pos % 2 != 0)
            KeyTo(app.mainWindow, VK_DOWN);
        else
            ScrollBar(SB_LINEDOWN);
        ASSERT_EQ(Position(), pos);
        ASSERT_EQ(drawn.Texts(), RowsFrom(pos + page - 1, 1, bottomStrip)) << "at position " << pos;
    }
    drawn.Clear();
    KeyTo(app.mainWindow, VK_DOWN);
    ScrollBar(SB_LINEDOWN);
    EXPECT_EQ(Position(), last) << "no line down past the last page";
    EXPECT_TRUE(drawn.Texts().empty());

    // And back up to the top: the new top row is drawn at y 0.
    for (int pos = last - 1; pos >= 0; --pos) {
        drawn.Clear();
        if (pos % 2 != 0)
            KeyTo(app.mainWindow, VK_UP);
        else
            ScrollBar(SB_LINEUP);
        ASSERT_EQ(Position(), pos);
        ASSERT_EQ(drawn.Texts(), RowsFrom(pos, 1, 0)) << "at position " << pos;
    }
    drawn.Clear();
    KeyTo(app.mainWindow, VK_UP);
    ScrollBar(SB_LINEUP);
    EXPECT_EQ(Position(), 0) << "no line up above the top";
    EXPECT_TRUE(drawn.Texts().empty());

    // Page requests and the thumb leave the list where it is.
    ScrollBar(SB_LINEDOWN);
    ASSERT_EQ(Position(), 1);
    drawn.Clear();
    ScrollBar(SB_PAGEDOWN);
    EXPECT_EQ(Position(), 1);
    ScrollBar(SB_PAGEUP);
    EXPECT_EQ(Position(), 1);
    ScrollBar(SB_THUMBTRACK, 5);
    ScrollBar(SB_THUMBPOSITION, 5);
    EXPECT_EQ(Position(), 1);
    ScrollBar(SB_BOTTOM);
    ScrollBar(SB_TOP);
    EXPECT_EQ(Position(), 1);
    EXPECT_TRUE(drawn.Texts().empty());

    // The bar's end-of-scroll notice between a line scroll and its paint
    // must not lose the pending row.
    drawn.Clear();
    SendMessageA(app.mainWindow, WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessageA(app.mainWindow, WM_VSCROLL, SB_ENDSCROLL, 0);
    UpdateWindow(app.mainWindow);
    EXPECT_EQ(drawn.Texts(), RowsFrom(page + 1, 1, bottomStrip));

    // After one-row repaints a full repaint draws a whole page again, from
    // the row at the top.
    drawn.Clear();
    FullRepaint();
    EXPECT_EQ(drawn.Texts(), RowsFrom(2, page, 0));
}

// A held Down key repeats faster than the queue gets to WM_PAINT: several
// scrolls arrive before any paint, and every row must still be drawn.
TEST_F(ResultListWindow, RowsScrolledInFasterThanThePaintsComeAreAllDrawn)
{
    ASSERT_NO_FATAL_FAILURE(StartWithRows(kManyRows));
    ASSERT_EQ(GetFocus(), app.mainWindow);
    FullRepaint();
    for (int i = 0; i < 3; ++i) {
        MSG down{app.mainWindow, WM_KEYDOWN, VK_DOWN, 1, 0, {0, 0}};
        RouteMessage(down);
    }
    Pump();
    ASSERT_EQ(Position(), 3);
    const Pixels shown = ClientPixels(app.mainWindow);
    const uint32_t background = AsPixel(GetSysColor(COLOR_INACTIVECAPTION));
    for (int row = 0; row < page; ++row)
        EXPECT_GT(PixelsNotOf(shown, background, row * lineHeight, (row + 1) * lineHeight), 0)
            << "row " << row << " of the page is blank";
}

TEST_F(ResultListWindow, ResizingChangesThePageAndGraysTheHintAgain)
{
    ASSERT_NO_FATAL_FAILURE(StartWithRows(kManyRows));
    RECT frame;
    GetWindowRect(app.mainWindow, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int top = 2;
    for (int i = 0; i < top; ++i)
        KeyTo(app.mainWindow, VK_DOWN);
    ASSERT_EQ(Position(), top);

    // Two rows lower: two rows fewer, drawn from the same top row.
    EnableMenuItem(app.menu, IDM_FKEY_HINT, MF_BYCOMMAND | MF_ENABLED);
    drawn.Clear();
    SetWindowPos(app.mainWindow, nullptr, 0, 0, width, height - 2 * lineHeight, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(app.mainWindow);
    Pump();
    EXPECT_EQ(ClientHeight() / lineHeight, page - 2);
    EXPECT_EQ(PageRows(app.list), page - 2);
    EXPECT_EQ(drawn.Texts(), RowsFrom(top, page - 2, 0));
    EXPECT_TRUE(Grayed(IDM_FKEY_HINT));
    EXPECT_EQ(Position(), top) << "a resize keeps the top row";
    ScrollBar(SB_ENDSCROLL);
    EXPECT_EQ(static_cast<int>(ScrollInfo().nPage), page - 2) << "the next scroll request brings the bar up to date";

    // Scrolled to the end of the list and grown by six rows: the top row
    // stays, the rows that are left are drawn and the space below them
    // stays empty.
    const int end = kManyRows - (page - 2);
    while (Position() < end)
        KeyTo(app.mainWindow, VK_DOWN);
    ASSERT_EQ(Position(), end);
    EnableMenuItem(app.menu, IDM_FKEY_HINT, MF_BYCOMMAND | MF_ENABLED);
    drawn.Clear();
    MoveWindow(app.mainWindow, 0, 0, width, height + 4 * lineHeight, TRUE);
    UpdateWindow(app.mainWindow);
    Pump();
    EXPECT_EQ(PageRows(app.list), page + 4);
    EXPECT_EQ(Position(), end);
    EXPECT_EQ(drawn.Texts(), RowsFrom(end, page - 2, 0)) << "no row past the end of the list";
    EXPECT_TRUE(Grayed(IDM_FKEY_HINT));

    // Minimised there is no room for any row.
    EnableMenuItem(app.menu, IDM_FKEY_HINT, MF_BYCOMMAND | MF_ENABLED);
    drawn.Clear();
    ShowWindow(app.mainWindow, SW_MINIMIZE);
    UpdateWindow(app.mainWindow);
    Pump();
    EXPECT_EQ(PageRows(app.list), 0);
    EXPECT_EQ(app.list.rowsToDraw, 0);
    EXPECT_TRUE(drawn.Texts().empty());
    EXPECT_TRUE(Grayed(IDM_FKEY_HINT));

    EnableMenuItem(app.menu, IDM_FKEY_HINT, MF_BYCOMMAND | MF_ENABLED);
    drawn.Clear();
    ShowWindow(app.mainWindow, SW_RESTORE);
    UpdateWindow(app.mainWindow);
    Pump();
    EXPECT_EQ(PageRows(app.list), page + 4);
    EXPECT_EQ(drawn.Texts(), RowsFrom(end, page - 2, 0));
    EXPECT_TRUE(Grayed(IDM_FKEY_HINT));
}

TEST_F(ResultListWindow, ManyRepaintsLeaveTheNumberOfGdiObjects)
{
    ASSERT_NO_FATAL_FAILURE(StartWithRows(kManyRows));
    FullRepaint();
    FullRepaint();

    // The count must see objects come and go, or the comparison below
    // would prove nothing.
    const int before = LiveGdiObjects();
    HFONT probe = CreateFontA(15, 6, 0, 0, 500, 0, 0, 0, 0, 0, 0, 0, 0, "ARIAL");
    ASSERT_EQ(LiveGdiObjects(), before + 1) << "the GDI object count cannot be taken here";
    DeleteObject(probe);
    ASSERT_EQ(LiveGdiObjects(), before);

    drawn.Clear();
    constexpr int kPaints = 200;
    for (int i = 0; i < kPaints; ++i)
        FullRepaint();
    EXPECT_EQ(drawn.Texts().size(), static_cast<size_t>(kPaints * page * 2)) << "every paint drew a page";
    EXPECT_EQ(LiveGdiObjects(), before);
}

TEST_F(ResultListWindow, RepaintNeverDrawsRecordsOfAClosedView)
{
    ASSERT_NO_FATAL_FAILURE(StartWithRows(kManyRows));
    // Longer than the German file, so that any stale offset would still
    // land inside it and draw something.
    WriteFile("EngGer.dat", EngGerFile(NumberedLines("xe", kManyRows) + NumberedLines("ze", kManyRows)));

    // Cancel with the add-word dialog still open: both dialogs close, the
    // view is released and the old records stay in the table.
    SendMessageA(app.searchDialog, WM_COMMAND, IDCANCEL, 0);
    Pump();
    ASSERT_EQ(app.searchDialog, nullptr);
    ASSERT_EQ(app.dictionary.view, nullptr);

    Command(IDM_TRANS_ENG_GER);
    ASSERT_NE(app.searchDialog, nullptr);
    ASSERT_NE(app.dictionary.view, nullptr);
    drawn.Clear();
    FullRepaint();
    Pump();
    EXPECT_TRUE(drawn.Texts().empty()) << "the table holds rows of a file no longer mapped";

    // A search of the newly opened file draws its own rows.
    SetDlgItemTextA(app.searchDialog, IDC_SEARCH_EDIT, "x");
    SendMessageA(app.searchDialog, WM_COMMAND, IDOK, 0);
    UpdateWindow(app.mainWindow);
    Pump();
    EXPECT_EQ(drawn.Texts(), Rows("xe", 0, page, 0, lineHeight));
}

} // namespace
