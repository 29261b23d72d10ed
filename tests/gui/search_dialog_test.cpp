#include "gui_fixture.h"

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "list/result_list.h"
#include "shell/startup.h"

namespace {


std::string StrongsLine(const std::string& a, const std::string& b, const std::string& c, const std::string& d)
{
    auto column = [](std::string s) {
        s.resize(17, ' ');
        return s;
    };
    return "\xFB" + column(a) + column(b) + column(c) + d + "\r\n";
}

bool RunningOnWine()
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

const DictionaryDirection kGerEng = DictionaryDirection::GermanToEnglish;
const DictionaryDirection kEngGer = DictionaryDirection::EnglishToGerman;

class SearchDialog : public ProgramTest {
protected:
    // A handful of words beginning with "Haus" to look up, and lines
    // beginning with "x" for the start-up search. With fewer of them than a
    // page the focus rule names the search dialog as the window to focus when
    // the main window is activated; with more it names the main window itself,
    // which the tests that move the focus there need.
    void StartGerman(int xLines = 3)
    {
        WriteFile("GerEng.dat", GerEngFile(FixedLine("Haus", "house") + FixedLine("Hausboot", "houseboat") +
                                           FixedLine("Haustier", "pet") + FixedLine("Maus", "mouse") +
                                           NumberedLines("xa", xLines)));
        Start();
        ASSERT_NE(app.searchDialog, nullptr);
        ASSERT_NE(app.addWordDialog, nullptr);
    }

    HWND SearchEdit() const { return GetDlgItem(app.searchDialog, IDC_SEARCH_EDIT); }
    HWND SearchBox() const { return GetDlgItem(app.searchDialog, IDC_GERMAN_KBD); }
    HWND EntryEdit() const { return GetDlgItem(app.addWordDialog, IDC_ENTRY_EDIT); }
    std::string SearchField() const { return EditText(app.searchDialog, IDC_SEARCH_EDIT); }
    std::string EntryField() const { return EditText(app.addWordDialog, IDC_ENTRY_EDIT); }

    void FocusOn(HWND window)
    {
        SetFocus(window);
        Pump();
    }

    // The search dialog alone: both dialogs closed, then the search command.
    void OnlySearchDialog()
    {
        SendMessageA(app.searchDialog, WM_COMMAND, IDCANCEL, 0);
        Pump();
        Command(IDM_TRANS_GER_ENG);
        ASSERT_NE(app.searchDialog, nullptr);
        ASSERT_EQ(app.addWordDialog, nullptr);
    }

    static bool InDialog(HWND dialog, HWND window)
    {
        return dialog != nullptr && (window == dialog || IsChild(dialog, window));
    }
};

TEST_F(SearchDialog, CaptionTemplateAndPlaceFollowTheDirectionAndGeometry)
{
    StartGerman();
    EXPECT_EQ(Text(app.searchDialog), "Search German To English" + Blanks(26));

    SearchDialogTemplate expected;
    BuildSearchDialogTemplate(expected, app.geometry, kGerEng);
    EXPECT_EQ(0, std::memcmp(app.searchTemplate.bytes, expected.bytes, kSearchTemplateBytes))
        << "the template used for the real dialog differs from the built one";
    // A few fields read back raw, so a wrong geometry field would show even
    // if the builder and the creation agreed on it.
    uint16_t y = 0;
    uint16_t cx = 0;
    std::memcpy(&y, app.searchTemplate.bytes + 12, 2);
    std::memcpy(&cx, app.searchTemplate.bytes + 136, 2);
    EXPECT_EQ(y, app.geometry.searchDialogTop);
    EXPECT_EQ(cx, app.geometry.fieldWidth);

    // No absolute alignment: x and y count from the main window's client
    // area, in the dialog's own units.
    RECT place{0, 0, static_cast<int16_t>(app.geometry.dialogLeft),
               static_cast<int16_t>(app.geometry.searchDialogTop)};
    MapDialogRect(app.searchDialog, &place);
    POINT corner{place.right, place.bottom};
    ClientToScreen(app.mainWindow, &corner);
    // The platform puts the client area at the template's point; the frame
    // and caption lie outside it.
    POINT client{0, 0};
    ClientToScreen(app.searchDialog, &client);
    RECT window{};
    GetWindowRect(app.searchDialog, &window);
    EXPECT_EQ(client.y, corner.y);
    // The geometry makes the dialog exactly as wide as the screen leaves
    // right of it, so its frame overhangs the edge and the dialog manager
    // pulls it left until it fits.
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const LONG frameLeft = client.x - window.left;
    if (corner.x - frameLeft + (window.right - window.left) <= work.right) {
        EXPECT_EQ(client.x, corner.x);
    } else {
        EXPECT_LT(client.x, corner.x);
        EXPECT_LE(window.right, work.right);
        EXPECT_GT(window.left, app.mainSize.mainWidth / 2) << "still right of the main window's middle";
    }

    // The other direction, as the user gets it: close, then the command.
    FocusOn(SearchEdit());
    Key(VK_ESCAPE);
    WriteFile("EngGer.dat", EngGerFile(FixedLine("house", "Haus")));
    Command(IDM_TRANS_ENG_GER);
    ASSERT_NE(app.searchDialog, nullptr);
    EXPECT_EQ(Text(app.searchDialog), "Search English To German" + Blanks(26));
    BuildSearchDialogTemplate(expected, app.geometry, kEngGer);
    EXPECT_EQ(0, std::memcmp(app.searchTemplate.bytes, expected.bytes, kSearchTemplateBytes));
}

TEST_F(SearchDialog, EnterSearchesForTheTypedTextOnlyWhenThereIsOne)
{
    StartGerman();
    ASSERT_EQ(app.results.resultCount, 3) << "the start-up search for x";
    FocusOn(SearchEdit());
    ASSERT_EQ(SearchField(), "");

    Key(VK_RETURN);
    EXPECT_EQ(app.searchLength, 1u) << "an empty field runs no search";
    EXPECT_EQ(app.results.resultCount, 3);
    EXPECT_EQ(ScrollInfo().nMax, 3);

    FocusOn(SearchEdit());
    Type("Haus");
    Key(VK_RETURN);
    EXPECT_STREQ(app.searchText, "Haus");
    EXPECT_EQ(app.searchLength, 4u);
    EXPECT_EQ(app.results.resultCount, 3) << "Haus, Hausboot, Haustier";
    EXPECT_EQ(ScrollInfo().nMax, 3);
    const std::vector<ListTextSeen> rows = RepaintList();
    ASSERT_EQ(rows.size(), 6u) << "three rows of two columns";
    EXPECT_EQ(rows[0].text.substr(0, 5), "Haus ");
    EXPECT_EQ(rows[1].text, "house");
    EXPECT_EQ(rows[5].text, "pet");
}

TEST_F(SearchDialog, UmlautKeysInsertIntoTheDialogWithTheFocus)
{
    StartGerman(30);
    FocusOn(SearchEdit());
    Type("M");
    Key(VK_F1);
    EXPECT_EQ(SearchField(), "M\xFC");

    // At the caret, not at the end.
    SetDlgItemTextA(app.searchDialog, IDC_SEARCH_EDIT, "Mnchen");
    SendMessageA(SearchEdit(), EM_SETSEL, 1, 1);
    Key(VK_F1);
    EXPECT_EQ(SearchField(), "M\xFCnchen");

    // Over a selection the letter replaces it.
    SetDlgItemTextA(app.searchDialog, IDC_SEARCH_EDIT, "Haus Maus");
    SendMessageA(SearchEdit(), EM_SETSEL, 5, 9);
    Key(VK_F3);
    EXPECT_EQ(SearchField(), "Haus \xF6");

    // The check box has the focus: the letter still goes to its dialog's
    // edit field, not to the search dialog offered the key first.
    SetDlgItemTextA(app.searchDialog, IDC_SEARCH_EDIT, "Maus");
    FocusOn(GetDlgItem(app.addWordDialog, IDC_GERMAN_KBD));
    ASSERT_EQ(GetFocus(), GetDlgItem(app.addWordDialog, IDC_GERMAN_KBD));
    Key(VK_F2);
    EXPECT_EQ(EntryField(), "\xE4");
    EXPECT_EQ(SearchField(), "Maus");

    // In the main window the keys mean nothing.
    FocusOn(app.mainWindow);
    Key(VK_F1);
    Key(VK_F2);
    Key(VK_F3);
    EXPECT_EQ(SearchField(), "Maus");
    EXPECT_EQ(EntryField(), "\xE4");
    EXPECT_EQ(GetFocus(), app.mainWindow);
}

TEST_F(SearchDialog, TheEightyFirstCharacterIsRefusedTypedOrInserted)
{
    StartGerman();
    FocusOn(SearchEdit());
    Type(std::string(79, 'a'));
    Key(VK_F1);
    ASSERT_EQ(SearchField(), std::string(79, 'a') + "\xFC") << "the 80th character may be an umlaut";

    Type("b");
    Key(VK_F1);
    Key(VK_F2);
    Key(VK_F3);
    EXPECT_EQ(SearchField(), std::string(79, 'a') + "\xFC");

    // A full field still searches with all 80 bytes.
    Key(VK_RETURN);
    EXPECT_EQ(app.searchLength, 80u);
}

TEST_F(SearchDialog, TabMovesToTheNextOfTheProgramsWindows)
{
    StartGerman(30);
    FocusOn(SearchEdit());
    Key(VK_TAB);
    // The dialog hands the focus on to its edit field, ready for typing.
    EXPECT_EQ(GetFocus(), EntryEdit());

    FocusOn(EntryEdit());
    Key(VK_TAB);
    EXPECT_EQ(GetFocus(), SearchEdit());

    OnlySearchDialog();
    FocusOn(SearchEdit());
    Key(VK_TAB);
    EXPECT_EQ(GetFocus(), app.mainWindow);

    // With fewer hits than a page the search dialog is where the keys go
    // back when the user returns from another program; Tab still reaches
    // the main window.
    SetDlgItemTextA(app.searchDialog, IDC_SEARCH_EDIT, "Haus");
    FocusOn(SearchEdit());
    Key(VK_RETURN);
    ASSERT_EQ(GetFocus(), SearchEdit());
    Key(VK_TAB);
    EXPECT_EQ(GetFocus(), app.mainWindow);
    SendMessageA(app.mainWindow, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(InDialog(app.searchDialog, GetFocus()));
}

TEST_F(SearchDialog, CheckBoxAloneSwitchesTheLayoutAndItsOwnCaption)
{
    StartGerman();
    OnlySearchDialog();
    const HKL before = GetKeyboardLayout(0);
    ASSERT_EQ(app.germanLayout, nullptr);
    EXPECT_EQ(Text(SearchBox()), " German Keyboard       ");

    SendMessageA(SearchBox(), BM_CLICK, 0, 0);
    Pump();
    const HKL loaded = app.germanLayout;
    const HKL during = GetKeyboardLayout(0);
    EXPECT_EQ(SendMessageA(SearchBox(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Text(SearchBox()), " German Keyboard In Use");
    EXPECT_TRUE(InDialog(app.searchDialog, GetFocus()));
    std::printf("[ layout   ] before %p, germanLayout %p, GetKeyboardLayout(0) while on %p\n",
                static_cast<void*>(before), static_cast<void*>(loaded), static_cast<void*>(during));
    if (RunningOnWine()) {
        // Wine 8 cannot switch an X11 keyboard to another locale: its
        // LoadKeyboardLayoutA hands back the layout already in use and the
        // thread keeps it.
        EXPECT_EQ(loaded, before);
        EXPECT_EQ(during, before);
    } else {
        EXPECT_EQ(LOWORD(reinterpret_cast<UINT_PTR>(loaded)), 0x0407);
        EXPECT_EQ(during, loaded);
    }

    // A dialog created while the layout is on starts unchecked all the same.
    Command(IDM_ADD_GER_ENG);
    ASSERT_NE(app.addWordDialog, nullptr);
    HWND addBox = GetDlgItem(app.addWordDialog, IDC_GERMAN_KBD);
    EXPECT_EQ(SendMessageA(addBox, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(Text(addBox), " German Keyboard       ");
    EXPECT_EQ(app.germanLayout, loaded);
    SendMessageA(app.addWordDialog, WM_COMMAND, IDCANCEL, 0);
    Pump();
    Command(IDM_TRANS_GER_ENG);
    ASSERT_NE(app.searchDialog, nullptr);
    SendMessageA(SearchBox(), BM_CLICK, 0, 0);
    Pump();
    ASSERT_EQ(SendMessageA(SearchBox(), BM_GETCHECK, 0, 0), BST_CHECKED);

    SendMessageA(SearchBox(), BM_CLICK, 0, 0);
    Pump();
    const HKL after = GetKeyboardLayout(0);
    std::printf("[ layout   ] GetKeyboardLayout(0) after switching off %p\n", static_cast<void*>(after));
    if (RunningOnWine()) {
        EXPECT_EQ(after, before);
    }
    EXPECT_EQ(SendMessageA(SearchBox(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(Text(SearchBox()), " German Keyboard       ");
    EXPECT_EQ(app.germanLayout, nullptr);
    ActivateKeyboardLayout(before, 0);
}

TEST_F(SearchDialog, EscapeClosesBothDialogsAndTheDictionary)
{
    StartGerman();
    ASSERT_TRUE(Grayed(IDM_TRANS));
    ASSERT_TRUE(Grayed(IDM_ADD));
    HWND search = app.searchDialog;
    HWND add = app.addWordDialog;
    FocusOn(SearchEdit());
    Key(VK_ESCAPE);
    EXPECT_EQ(app.searchDialog, nullptr);
    EXPECT_EQ(app.addWordDialog, nullptr);
    EXPECT_FALSE(IsWindow(search));
    EXPECT_FALSE(IsWindow(add));
    for (UINT id : {IDM_TRANS, IDM_TRANS_GER_ENG, IDM_TRANS_ENG_GER, IDM_ADD, IDM_ADD_GER_ENG, IDM_ADD_ENG_GER})
        EXPECT_FALSE(Grayed(id)) << id;
    EXPECT_EQ(GetFocus(), app.mainWindow);
    EXPECT_EQ(app.dictionary.fileHandle, nullptr);
    EXPECT_EQ(app.dictionary.view, nullptr);
    EXPECT_TRUE(RepaintList().empty()) << "nothing is listed once the dictionary is closed";
    EXPECT_FALSE(quitPosted) << "Escape in a dialog is not the exit question";
}

TEST_F(SearchDialog, F4InEitherDialogShowsTheListAsTheMainWindowDoes)
{
    WriteFile("strongs.dat", StrongsLine("G1", "alpha", "a", "first letter") +
                                 StrongsLine("G2", "Aaron", "ah-ar-ohn", "a brother") +
                                 StrongsLine("G3", "Abaddon", "ab-ad-dohn", "the destroyer"));
    StartGerman(30);

    auto showFrom = [&](HWND window) {
        FocusOn(window);
        Key(VK_F4);
        EXPECT_EQ(app.strongs.loaded, 1);
        EXPECT_TRUE(Grayed(IDM_STRONGS));
        EXPECT_EQ(GetFocus(), app.mainWindow);
        const std::vector<ListTextSeen> rows = RepaintList();
        // A search closes the list again, ready for the next key.
        SetDlgItemTextA(app.searchDialog, IDC_SEARCH_EDIT, "x");
        FocusOn(SearchEdit());
        Key(VK_RETURN);
        EXPECT_EQ(app.strongs.loaded, 0);
        return rows;
    };
    const std::vector<ListTextSeen> fromSearch = showFrom(SearchEdit());
    const std::vector<ListTextSeen> fromAdd = showFrom(EntryEdit());
    const std::vector<ListTextSeen> fromMain = showFrom(app.mainWindow);

    ASSERT_EQ(fromMain.size(), 12u) << "three records of four columns";
    std::set<int> columns;
    for (const ListTextSeen& t : fromMain)
        columns.insert(t.x);
    EXPECT_EQ(columns.size(), 4u);
    EXPECT_EQ(fromMain[7].text, "a brother");
    EXPECT_EQ(fromSearch, fromMain);
    EXPECT_EQ(fromAdd, fromMain);
}

} // namespace
