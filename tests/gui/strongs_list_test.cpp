// The four-column list from strongs.dat: loading it through the menu and F4,
// what the main window then draws, and the search that closes it again.
#include "gui_fixture.h"

#include <string>
#include <vector>

#include "list/result_list.h"

namespace {

using DrawnText = ListTextSeen;

std::string Column(const std::string& text)
{
    return text + std::string(17 - text.size(), ' ');
}

struct Record {
    std::string columns[4];
};

// One record line as the reader expects it: the mark, three columns of 17
// bytes, the fourth up to CR LF.
std::string RecordLine(const Record& r)
{
    return "\xFB" + Column(r.columns[0]) + Column(r.columns[1]) + Column(r.columns[2]) + r.columns[3] + "\r\n";
}

Record Numbered(int i)
{
    const std::string n = std::to_string(i);
    // Odd and even fourth columns, so records fall at both parities.
    return {{"k" + n, "gr\xFCn " + n, "r" + n, "the fourth column " + n + std::string(i % 2, '.')}};
}

std::string RecordLines(int first, int count)
{
    std::string lines;
    for (int i = first; i < first + count; ++i)
        lines += RecordLine(Numbered(i));
    return lines;
}

class FourColumnList : public ProgramTest {
protected:
    ListTextRecorder recorder;


    // Thirty hits for "x", so the result table is full of dictionary records
    // before any four-column list is loaded.
    void StartWithResults()
    {
        WriteFile("GerEng.dat", GerEngFile(NumberedLines("xa", 30)));
        Start();
        ASSERT_EQ(app.results.resultCount, 30);
    }

    // Repaints the whole list now and returns what was drawn.
    std::vector<DrawnText> Repaint()
    {
        recorder.Clear();
        RedrawWindow(app.mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Pump();
        return recorder.Texts();
    }

    void Search(const std::string& text)
    {
        SetDlgItemTextA(app.searchDialog, IDC_SEARCH_EDIT, text.c_str());
        SendMessageA(app.searchDialog, WM_COMMAND, IDOK, 0);
        Pump();
    }

    // The four texts of a record, as a row at the given y.
    void ExpectRow(const std::vector<DrawnText>& texts, size_t at, const Record& r, int y)
    {
        static const int kColumnX[4] = {0, 100, 200, 340};
        ASSERT_GE(texts.size(), at + 4);
        for (int c = 0; c < 4; ++c) {
            const DrawnText& t = texts[at + c];
            SCOPED_TRACE("column " + std::to_string(c + 1) + " of the row at y " + std::to_string(y));
            EXPECT_EQ(t.x, kColumnX[c]);
            EXPECT_EQ(t.y, y);
            EXPECT_EQ(t.text, c < 3 ? Column(r.columns[c]) : r.columns[c]);
        }
    }

    void ExpectNumberedRows(const std::vector<DrawnText>& texts, int rows)
    {
        ASSERT_EQ(texts.size(), static_cast<size_t>(4 * rows)) << "four texts for each of " << rows << " rows";
        for (int r = 0; r < rows; ++r)
            ExpectRow(texts, 4 * static_cast<size_t>(r), Numbered(r), r * app.list.lineHeight);
    }

    void ExpectLoaded(int lines)
    {
        EXPECT_EQ(app.strongs.loaded, 1);
        EXPECT_EQ(app.results.resultCount, lines);
        EXPECT_EQ(ScrollInfo().nMax, lines);
        EXPECT_EQ(app.results.rowStride, 32);
        EXPECT_TRUE(Grayed(IDM_STRONGS));
        EXPECT_EQ(app.list.rowsToDraw, PageRows(app.list)) << "a loaded list always draws a full page";
    }

    void ExpectDictionaryRows(const std::vector<DrawnText>& texts, int rows)
    {
        ASSERT_EQ(texts.size(), static_cast<size_t>(2 * rows));
        for (int r = 0; r < rows; ++r) {
            SCOPED_TRACE("dictionary row " + std::to_string(r));
            const DrawnText& source = texts[2 * static_cast<size_t>(r)];
            const DrawnText& translation = texts[2 * static_cast<size_t>(r) + 1];
            EXPECT_EQ(source.x, 0);
            EXPECT_EQ(translation.x, 290);
            EXPECT_EQ(source.y, r * app.list.lineHeight);
            EXPECT_EQ(translation.y, source.y);
            EXPECT_EQ(source.text.substr(0, source.text.find(' ')), "xa" + std::to_string(r));
            EXPECT_EQ(translation.text, "t" + std::to_string(r));
        }
    }
};

TEST_F(FourColumnList, FiveRecordLinesAreFiveRowsInFourColumns)
{
    WriteFile("strongs.dat", RecordLines(0, 5));
    StartWithResults();
    ASSERT_GE(PageRows(app.list), 5);
    Command(IDM_STRONGS);
    EXPECT_TRUE(boxes.Seen().empty());
    ExpectLoaded(5);
    ExpectNumberedRows(Repaint(), 5);
}

TEST_F(FourColumnList, ColumnsAreTakenWholeWhateverTheyHold)
{
    // Seventeen bytes to the byte: a full first column, a mark byte inside the
    // second, blanks leading the third; the fourth may be empty.
    const Record odd{{"abcdefghijklmnopq", "x\xFBy", "   lead", ""}};
    const Record next{{"n1", "n2", "n3", "n4"}};
    WriteFile("strongs.dat", RecordLine(odd) + RecordLine(next));
    StartWithResults();
    Command(IDM_STRONGS);
    ExpectLoaded(2);
    const std::vector<DrawnText> texts = Repaint();
    ASSERT_EQ(texts.size(), 8u);
    ExpectRow(texts, 0, odd, 0);
    ExpectRow(texts, 4, next, app.list.lineHeight);
}

TEST_F(FourColumnList, MoreThanAPageFillsThePageAndScrollsByWholeRecords)
{
    WriteFile("strongs.dat", RecordLines(0, 40));
    StartWithResults();
    Command(IDM_STRONGS);
    const int page = PageRows(app.list);
    ASSERT_GT(page, 2);
    ASSERT_LT(page, 40);
    ExpectLoaded(40);
    ExpectNumberedRows(Repaint(), page);

    // One row down brings the record after the page into the bottom row.
    SetFocus(app.mainWindow);
    recorder.Clear();
    Key(VK_DOWN);
    EXPECT_EQ(ScrollInfo().nPos, 1);
    ASSERT_EQ(recorder.Texts().size(), 4u) << "a one-row scroll draws one row";
    ExpectRow(recorder.Texts(), 0, Numbered(page), (page - 1) * app.list.lineHeight);

    // A full repaint now starts with the second record.
    const std::vector<DrawnText> texts = Repaint();
    ASSERT_EQ(texts.size(), static_cast<size_t>(4 * page));
    ExpectRow(texts, 0, Numbered(1), 0);
    ExpectRow(texts, 4 * static_cast<size_t>(page - 1), Numbered(page), (page - 1) * app.list.lineHeight);
}

TEST_F(FourColumnList, RecordsBeyondWhatTheTableHoldsAreDropped)
{
    // 260 records: the table holds 250, and the counters that follow it in
    // memory must come through the load untouched.
    WriteFile("strongs.dat", RecordLines(0, 260));
    StartWithResults();
    Command(IDM_STRONGS);
    ExpectLoaded(260);
    EXPECT_EQ(app.results.resultCapacity, 500);
    EXPECT_EQ(app.strongs.recordCount, 250);
    ExpectNumberedRows(Repaint(), PageRows(app.list));
}

TEST_F(FourColumnList, LinesThatAreNotRecordsAreCrossedTwoBytesAtATime)
{
    // Even length, CR LF included: the record after it is read.
    WriteFile("strongs.dat", RecordLines(0, 1) + "--\r\n" + RecordLine(Numbered(1)));
    StartWithResults();
    Command(IDM_STRONGS);
    ExpectLoaded(3);
    ExpectNumberedRows(Repaint(), 2);

    // The search closes the list and lets go of the file, so it can be
    // written again and loaded afresh.
    Search("xa");
    ASSERT_EQ(app.strongs.loaded, 0);
    const std::string oddLine = RecordLines(0, 1) + "---\r\n" + RecordLine(Numbered(1));
    WriteFile("strongs.dat", oddLine);
    ASSERT_EQ(ReadFile("strongs.dat"), oddLine) << "strongs.dat still held after the list was closed";

    // Odd length: the record after it is not recognised at its start.
    Command(IDM_STRONGS);
    ExpectLoaded(3);
    const std::vector<DrawnText> texts = Repaint();
    ExpectNumberedRows(texts, 1);
    for (const DrawnText& t : texts)
        EXPECT_EQ(t.text.find("column 1"), std::string::npos) << "the missed record was drawn: " << t.text;
}

TEST_F(FourColumnList, RowsWithoutARecordDrawNothingNotEvenTheLastSearch)
{
    // Five lines, two records: the list counts five rows but holds two; the
    // slots after them still hold what the start-up search stored there.
    WriteFile("strongs.dat", RecordLines(0, 2) + "one line\r\n" + "second\r\n" + "the third\r\n");
    StartWithResults();
    Command(IDM_STRONGS);
    ExpectLoaded(5);
    const std::vector<DrawnText> texts = Repaint();
    ExpectNumberedRows(texts, 2);
    for (const DrawnText& t : texts) {
        EXPECT_NE(t.x, 290) << "a dictionary column was drawn";
        EXPECT_EQ(t.text.find("xa"), std::string::npos) << "dictionary text was drawn: " << t.text;
    }
}

TEST_F(FourColumnList, MissingFileShowsTheErrorAndAnEmptyListUntilTheNextSearch)
{
    StartWithResults();
    boxes.Clear();
    Command(IDM_STRONGS);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].caption, " ! ERROR !");
    EXPECT_EQ(boxes.Seen()[0].text,
              " Can't find the data file. This file must be in the same directory as Vokabix.exe");
    EXPECT_EQ(boxes.Seen()[0].owner, app.mainWindow);
    ExpectLoaded(0);
    EXPECT_TRUE(Repaint().empty()) << "the empty list shows neither records nor the earlier matches";

    // The next search is the way back to dictionary rows.
    Search("xa");
    EXPECT_EQ(app.strongs.loaded, 0);
    EXPECT_FALSE(Grayed(IDM_STRONGS));
    EXPECT_EQ(app.results.rowStride, 16);
    EXPECT_EQ(app.results.resultCount, 30);
    ExpectDictionaryRows(Repaint(), PageRows(app.list));
    EXPECT_EQ(boxes.Seen().size(), 1u);
}

TEST_F(FourColumnList, AnEmptyFileIsAnEmptyListWithoutAnError)
{
    WriteFile("strongs.dat", "");
    StartWithResults();
    Command(IDM_STRONGS);
    EXPECT_TRUE(boxes.Seen().empty());
    ExpectLoaded(0);
    EXPECT_TRUE(Repaint().empty());
    Search("xa");
    EXPECT_FALSE(Grayed(IDM_STRONGS));
    RemoveFile("strongs.dat");
    EXPECT_FALSE(FileExists("strongs.dat")) << "strongs.dat still held after the list was closed";
}

TEST_F(FourColumnList, ASecondRequestWhileLoadedOnlyFocusesTheMainWindow)
{
    StartWithResults();
    boxes.Clear();
    SendMessageA(app.mainWindow, WM_SHOW_STRONGS, 0, 0);
    Pump();
    ASSERT_EQ(boxes.Seen().size(), 1u);
    ExpectLoaded(0);

    // The file turns up now, but the list counts as loaded: nothing is read.
    WriteFile("strongs.dat", RecordLines(0, 3));
    SetFocus(app.searchDialog);
    ASSERT_NE(GetFocus(), app.mainWindow);
    SendMessageA(app.mainWindow, WM_SHOW_STRONGS, 0, 0);
    Pump();
    EXPECT_EQ(GetFocus(), app.mainWindow);
    EXPECT_EQ(boxes.Seen().size(), 1u);
    ExpectLoaded(0);
    EXPECT_TRUE(Repaint().empty());

    // After a search the same request loads it.
    Search("xa");
    SendMessageA(app.mainWindow, WM_SHOW_STRONGS, 0, 0);
    Pump();
    ExpectLoaded(3);
    ExpectNumberedRows(Repaint(), 3);
}

TEST_F(FourColumnList, F4LoadsTheListFromTheMainWindowAndFromTheSearchDialog)
{
    WriteFile("strongs.dat", RecordLines(0, 4));
    StartWithResults();
    SetFocus(app.mainWindow);
    Key(VK_F4);
    EXPECT_TRUE(boxes.Seen().empty());
    ExpectLoaded(4);
    ExpectNumberedRows(Repaint(), 4);

    Search("xa");
    ASSERT_EQ(app.strongs.loaded, 0);
    ExpectDictionaryRows(Repaint(), PageRows(app.list));
    HWND edit = GetDlgItem(app.searchDialog, IDC_SEARCH_EDIT);
    SetFocus(edit);
    KeyTo(edit, VK_F4);
    ExpectLoaded(4);
    EXPECT_EQ(GetFocus(), app.mainWindow);
    ExpectNumberedRows(Repaint(), 4);
}

} // namespace
