#include "gui_fixture.h"

#include "shell/main_window.h"
#include "shell/startup.h"

namespace {

class MainWindow : public ProgramTest {};

TEST_F(MainWindow, StartsInTheTopLeftCornerWithTitleClassAndSize)
{
    // Enough hits for the scroll bar to show, so the style keeps WS_VSCROLL.
    WriteFile("GerEng.dat", GerEngFile(NumberedLines("xa", 30)));
    Start();
    ASSERT_NE(app.mainWindow, nullptr);
    char className[64] = {};
    GetClassNameA(app.mainWindow, className, sizeof(className));
    EXPECT_STREQ(className, "Vokabix Class");
    EXPECT_EQ(Text(app.mainWindow), "Vokabix  v1.3 - An Offline German/English/German Dictionary");
    RECT r;
    GetWindowRect(app.mainWindow, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, 716);
    EXPECT_EQ(r.bottom - r.top, 176);
    EXPECT_EQ(GetWindowLongA(app.mainWindow, GWL_STYLE) & 0x10EE0000, 0x10EE0000);
    EXPECT_EQ(GetWindowLongA(app.mainWindow, GWL_STYLE) & WS_MAXIMIZEBOX, 0);
}

TEST_F(MainWindow, MenuAfterStartUp)
{
    WriteFile("GerEng.dat", GerEngFile(NumberedLines("xa", 3)));
    Start();
    EXPECT_TRUE(Grayed(IDM_TRANS));
    EXPECT_TRUE(Grayed(IDM_ADD));
    EXPECT_TRUE(Grayed(IDM_ADD_ENG_GER));
    EXPECT_TRUE(Grayed(IDM_TRANS_ENG_GER));
    EXPECT_TRUE(Grayed(IDM_FKEY_HINT));
    EXPECT_FALSE(Grayed(IDM_TRANS_GER_ENG));
    EXPECT_FALSE(Grayed(IDM_ADD_GER_ENG));
    EXPECT_FALSE(Grayed(IDM_STRONGS));
    EXPECT_FALSE(Grayed(IDM_KBD_NORMAL));
    EXPECT_FALSE(Grayed(IDM_ABOUT));
    char hint[64] = {};
    GetMenuStringA(app.menu, IDM_FKEY_HINT, hint, sizeof(hint), MF_BYCOMMAND);
    EXPECT_STREQ(hint, "            F1 = \xFC  F2 = \xE4  F3 = \xF6");
}

TEST_F(MainWindow, StartUpSearchFillsTheScrollRange)
{
    WriteFile("GerEng.dat", GerEngFile(NumberedLines("xa", 30) + NumberedLines("ya", 4)));
    Start();
    EXPECT_EQ(app.results.resultCount, 30);
    const SCROLLINFO info = ScrollInfo();
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 30);
    EXPECT_EQ(info.nPos, 0);
    EXPECT_EQ(static_cast<int>(info.nPage), PageRows(app.list));
    EXPECT_GT(PageRows(app.list), 3);
    EXPECT_EQ(GetFocus(), app.mainWindow) << "more hits than a page: the list has the keys";
}

TEST_F(MainWindow, EscapeAsksAndNoKeepsTheProgramRunning)
{
    WriteFile("GerEng.dat", GerEngFile(NumberedLines("xa", 30)));
    Start();
    SetFocus(app.mainWindow);
    boxes.Answer({IDNO});
    Key(VK_ESCAPE);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].caption, "Exit Requested");
    EXPECT_EQ(boxes.Seen()[0].text, "Exit Vokabix ?");
    EXPECT_FALSE(quitPosted);
    EXPECT_NE(app.dictionary.fileHandle, nullptr);

    boxes.Answer({IDYES});
    Key(VK_ESCAPE);
    EXPECT_TRUE(quitPosted);
    EXPECT_EQ(app.dictionary.fileHandle, nullptr) << "the exit path closes the dictionary";
}

TEST_F(MainWindow, MissingEnglishDictionaryShowsTheErrorAndChangesNoMenu)
{
    WriteFile("GerEng.dat", GerEngFile(NumberedLines("xa", 3)));
    Start();
    // Close both dialogs so that the English command is available.
    SendMessageA(app.searchDialog, WM_COMMAND, IDCANCEL, 0);
    Pump();
    ASSERT_FALSE(Grayed(IDM_TRANS_ENG_GER));
    boxes.Clear();
    Command(IDM_TRANS_ENG_GER);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].caption, " ! ERROR !");
    EXPECT_EQ(boxes.Seen()[0].text,
              " Can't find the data file. This file must be in the same directory as Vokabix.exe");
    EXPECT_EQ(boxes.Seen()[0].owner, app.mainWindow);
    EXPECT_FALSE(Grayed(IDM_TRANS));
    EXPECT_FALSE(Grayed(IDM_ADD_GER_ENG));
    EXPECT_EQ(app.searchDialog, nullptr);
}

} // namespace
