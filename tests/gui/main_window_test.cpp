#include "gui_fixture.h"

#include <utility>

#include "shell/main_window.h"
#include "shell/startup.h"

namespace {

class MainWindow : public ProgramTest {};

// Every item of the menu bar and its popups, by command.
const UINT kMenuIds[] = {IDM_TRANS,     IDM_TRANS_GER_ENG, IDM_TRANS_ENG_GER, IDM_ADD,       IDM_ADD_GER_ENG,
                         IDM_ADD_ENG_GER, IDM_STRONGS,      IDM_KEYBOARDS,     IDM_KBD_NORMAL, IDM_KBD_SHIFT,
                         IDM_KBD_ALT,   IDM_ABOUT,         IDM_HELP,          IDM_FKEY_HINT};

// The gray/enabled state of every item; popups carry their item count in the
// high byte of GetMenuState, which is of no interest here.
std::vector<std::pair<UINT, UINT>> MenuStates()
{
    std::vector<std::pair<UINT, UINT>> states;
    for (UINT id : kMenuIds)
        states.push_back({id, GetMenuState(app.menu, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)});
    return states;
}

// What the program holds open keeps everyone else out: it opens without
// sharing. Once it lets go, an exclusive open by anyone succeeds.
bool OpensWithoutSharing(const char* name)
{
    HANDLE file = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}


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
    // German to English is open for searching and adding: the other
    // direction and both menu-bar popups are locked, the hint is a label.
    const std::vector<std::pair<UINT, UINT>> expected = {
        {IDM_TRANS, MF_GRAYED},   {IDM_TRANS_GER_ENG, 0}, {IDM_TRANS_ENG_GER, MF_GRAYED}, {IDM_ADD, MF_GRAYED},
        {IDM_ADD_GER_ENG, 0},     {IDM_ADD_ENG_GER, MF_GRAYED}, {IDM_STRONGS, 0},        {IDM_KEYBOARDS, 0},
        {IDM_KBD_NORMAL, 0},      {IDM_KBD_SHIFT, 0},     {IDM_KBD_ALT, 0},                {IDM_ABOUT, 0},
        {IDM_HELP, 0},            {IDM_FKEY_HINT, MF_GRAYED}};
    EXPECT_EQ(MenuStates(), expected);
    for (UINT id : kMenuIds)
        EXPECT_NE(GetMenuState(app.menu, id, MF_BYCOMMAND), 0xFFFFFFFFu) << "item " << id << " is missing";
    char hint[64] = {};
    GetMenuStringA(app.menu, IDM_FKEY_HINT, hint, sizeof(hint), MF_BYCOMMAND);
    EXPECT_STREQ(hint, "            F1 = \xFC  F2 = \xE4  F3 = \xF6");
}

// The menu bar is drawn apart from the menu's state: an item grayed or
// enabled by a command looks the same until the bar is drawn again, and a
// user clicks an item that looks enabled and does nothing.
TEST_F(MainWindow, TheMenuBarShowsAnItemsNewStateRightAfterTheCommand)
{
    WriteFile("GerEng.dat", GerEngFile(NumberedLines("xa", 3)));
    WriteFile("EngGer.dat", EngGerFile(NumberedLines("xa", 3)));
    WriteFile("strongs.dat", "");
    Start();
    const uint32_t enabledText = AsPixel(GetSysColor(COLOR_MENUTEXT));
    auto textPixels = [&](int position) {
        const Pixels p = MenuBarItemPixels(app.mainWindow, position);
        EXPECT_GT(p.width * p.height, 0) << "menu bar item " << position;
        return p.width * p.height - PixelsNotOf(p, enabledText, 0, p.height);
    };
    constexpr int kAddPosition = 1;
    constexpr int kStrongsPosition = 2;

    SendMessageA(app.searchDialog, WM_COMMAND, IDCANCEL, 0);
    Pump();
    ASSERT_FALSE(Grayed(IDM_ADD));
    ASSERT_GT(textPixels(kAddPosition), 0);
    Command(IDM_ADD_ENG_GER);
    Pump();
    ASSERT_TRUE(Grayed(IDM_ADD));
    EXPECT_EQ(textPixels(kAddPosition), 0);

    // The four-column list grays its item, and the next search brings it back.
    Key(VK_F4);
    Pump();
    ASSERT_TRUE(Grayed(IDM_STRONGS));
    ASSERT_EQ(textPixels(kStrongsPosition), 0);
    Command(IDM_TRANS_ENG_GER);
    SetDlgItemTextA(app.searchDialog, IDC_SEARCH_EDIT, "xa");
    SendMessageA(app.searchDialog, WM_COMMAND, IDOK, 0);
    Pump();
    ASSERT_FALSE(Grayed(IDM_STRONGS));
    EXPECT_GT(textPixels(kStrongsPosition), 0);
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
    // A page is as many whole lines of the window's own font as the client
    // area holds.
    RECT client;
    GetClientRect(app.mainWindow, &client);
    EXPECT_EQ(static_cast<int>(info.nPage), (client.bottom - client.top) / WindowFontHeight());
    EXPECT_EQ(GetFocus(), app.mainWindow) << "more hits than a page: the list has the keys";
}

TEST_F(MainWindow, StartUpFocusFollowsTheNumberOfHits)
{
    const int page = MeasurePageRows();
    ASSERT_GT(page, 1);
    const std::string others = NumberedLines("ya", 3);

    WriteFile("GerEng.dat", GerEngFile(NumberedLines("xa", page - 1) + others));
    Start();
    EXPECT_EQ(ScrollInfo().nMax, page - 1);
    EXPECT_EQ(GetFocus(), GetDlgItem(app.searchDialog, IDC_SEARCH_EDIT))
        << "everything is shown: the search field takes the next word";
    Stop();

    WriteFile("GerEng.dat", GerEngFile(NumberedLines("xa", page) + others));
    Start();
    EXPECT_EQ(ScrollInfo().nMax, page);
    EXPECT_EQ(GetFocus(), GetDlgItem(app.addWordDialog, IDC_ENTRY_EDIT))
        << "exactly a page: the focus stays where the add-word dialog put it";
    Stop();

    WriteFile("GerEng.dat", GerEngFile(NumberedLines("xa", page + 1) + others));
    Start();
    EXPECT_EQ(ScrollInfo().nMax, page + 1);
    EXPECT_EQ(GetFocus(), app.mainWindow) << "more than a page: the arrow keys scroll at once";
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
    EXPECT_EQ(boxes.Seen()[0].owner, app.mainWindow);
    EXPECT_FALSE(quitPosted);
    EXPECT_NE(app.dictionary.fileHandle, nullptr);
    EXPECT_FALSE(OpensWithoutSharing("GerEng.dat")) << "the running program holds its dictionary";

    boxes.Answer({IDYES});
    Key(VK_ESCAPE);
    EXPECT_TRUE(quitPosted);
    EXPECT_EQ(app.dictionary.fileHandle, nullptr) << "the exit path closes the dictionary";
    EXPECT_TRUE(OpensWithoutSharing("GerEng.dat")) << "the exit path lets go of the file";
}

TEST_F(MainWindow, CloseBoxEndsTheProgramWithoutAQuestion)
{
    WriteFile("GerEng.dat", GerEngFile(NumberedLines("xa", 30)));
    const std::pair<UINT, WPARAM> closes[] = {{WM_CLOSE, 0}, {WM_SYSCOMMAND, SC_CLOSE}};
    for (const auto& close : closes) {
        SCOPED_TRACE(close.first == WM_CLOSE ? "WM_CLOSE" : "SC_CLOSE");
        Start();
        ASSERT_FALSE(OpensWithoutSharing("GerEng.dat"));
        boxes.Clear();
        quitPosted = false;
        SendMessageA(app.mainWindow, close.first, close.second, 0);
        Pump();
        EXPECT_TRUE(boxes.Seen().empty()) << "no exit question";
        EXPECT_TRUE(quitPosted);
        EXPECT_FALSE(IsWindow(app.mainWindow));
        EXPECT_EQ(app.dictionary.fileHandle, nullptr);
        EXPECT_EQ(app.dictionary.view, nullptr);
        EXPECT_TRUE(OpensWithoutSharing("GerEng.dat")) << "the dictionary was closed on the way out";
        Stop();
    }
}

TEST_F(MainWindow, MissingEnglishDictionaryShowsTheErrorAndChangesNoMenu)
{
    WriteFile("GerEng.dat", GerEngFile(NumberedLines("xa", 3)));
    Start();
    // Close both dialogs so that the English command is available.
    SendMessageA(app.searchDialog, WM_COMMAND, IDCANCEL, 0);
    Pump();
    ASSERT_FALSE(Grayed(IDM_TRANS_ENG_GER));
    const std::vector<std::pair<UINT, UINT>> before = MenuStates();
    HWND focus = GetFocus();
    boxes.Clear();
    Command(IDM_TRANS_ENG_GER);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].caption, " ! ERROR !");
    EXPECT_EQ(boxes.Seen()[0].text,
              " Can't find the data file. This file must be in the same directory as Vokabix.exe");
    EXPECT_EQ(boxes.Seen()[0].owner, app.mainWindow);
    EXPECT_EQ(MenuStates(), before) << "a failed open changes no menu item";
    EXPECT_EQ(app.searchDialog, nullptr);
    EXPECT_EQ(app.addWordDialog, nullptr);
    EXPECT_EQ(app.dictionary.fileHandle, nullptr);
    EXPECT_EQ(GetFocus(), focus);
}

} // namespace
