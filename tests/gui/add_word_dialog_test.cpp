#include "gui_fixture.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "windows/add_word_dialog.h"
#include "shell/startup.h"

namespace {


BOOL WINAPI FailingSetEndOfFile(HANDLE)
{
    return FALSE;
}

const std::string kGerEngData = FixedLine("Hand", "hand") + NumberedLines("xa", 3);
const std::string kEngGerData = FixedLine("hand", "Hand") + NumberedLines("xe", 3);

class AddWordDialog : public ProgramTest {
protected:
    void StartGerman()
    {
        WriteFile("GerEng.dat", GerEngFile(kGerEngData));
        Start();
        ASSERT_NE(app.addWordDialog, nullptr);
        ASSERT_NE(app.searchDialog, nullptr);
    }

    // Both dialogs closed, then the English add command as the user gives it.
    void SwitchToEnglish()
    {
        SendMessageA(app.addWordDialog, WM_COMMAND, IDCANCEL, 0);
        Pump();
        WriteFile("EngGer.dat", EngGerFile(kEngGerData));
        Command(IDM_ADD_ENG_GER);
        ASSERT_NE(app.addWordDialog, nullptr);
        ASSERT_EQ(app.direction, DictionaryDirection::EnglishToGerman);
    }

    HWND EntryEdit() const { return GetDlgItem(app.addWordDialog, IDC_ENTRY_EDIT); }
    HWND AddBox() const { return GetDlgItem(app.addWordDialog, IDC_GERMAN_KBD); }
    HWND SearchBox() const { return GetDlgItem(app.searchDialog, IDC_GERMAN_KBD); }
    std::string EntryField() const { return EditText(app.addWordDialog, IDC_ENTRY_EDIT); }

    void FocusOn(HWND window)
    {
        SetFocus(window);
        Pump();
    }

    // Types the entry into the add-word dialog and presses Enter there.
    void AddEntry(const std::string& entry)
    {
        FocusOn(EntryEdit());
        SetDlgItemTextA(app.addWordDialog, IDC_ENTRY_EDIT, "");
        Type(entry);
        Key(VK_RETURN);
    }

    void SearchFor(const std::string& text)
    {
        SetDlgItemTextA(app.searchDialog, IDC_SEARCH_EDIT, text.c_str());
        FocusOn(GetDlgItem(app.searchDialog, IDC_SEARCH_EDIT));
        Key(VK_RETURN);
    }

    // The program holds its dictionary open without sharing, so nobody else
    // may read it meanwhile: the bytes are read through the program's own
    // handle, at an explicit offset, since the program never reads through
    // the file position.
    std::string FileBytes(const std::string& name)
    {
        HANDLE file = app.dictionary.fileHandle;
        if (file == nullptr || name != app.dictionary.fileName)
            return ReadFile(name);
        LARGE_INTEGER size{};
        EXPECT_TRUE(GetFileSizeEx(file, &size));
        std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
        OVERLAPPED at{};
        DWORD got = 0;
        EXPECT_TRUE(::ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &got, &at));
        bytes.resize(got);
        return bytes;
    }

    // The dictionary is mapped again and covers the whole file as it is now.
    void ExpectDictionaryOpenOver(const std::string& name)
    {
        ASSERT_NE(app.dictionary.fileHandle, nullptr);
        EXPECT_NE(app.dictionary.view, nullptr);
        EXPECT_EQ(app.dictionary.fileSize, FileBytes(name).size());
    }

    void ExpectSixMenuItemsEnabled()
    {
        for (UINT id : {IDM_TRANS, IDM_TRANS_GER_ENG, IDM_TRANS_ENG_GER, IDM_ADD, IDM_ADD_GER_ENG, IDM_ADD_ENG_GER})
            EXPECT_FALSE(Grayed(id)) << id;
    }
};

TEST_F(AddWordDialog, TemplateAndCaptionFollowTheDirection)
{
    StartGerman();
    AddWordDialogTemplate expected;
    BuildAddWordDialogTemplate(expected, app.geometry, DictionaryDirection::GermanToEnglish);
    EXPECT_EQ(0, std::memcmp(app.addWordTemplate.bytes, expected.bytes, kAddWordTemplateBytes));
    int16_t y = 0;
    std::memcpy(&y, app.addWordTemplate.bytes + 12, 2);
    EXPECT_LT(y, 0) << "the add-word dialog stands above the main window's client area";
    EXPECT_EQ(Text(app.addWordDialog), "AddWord : German To English" + Blanks(53));
    EXPECT_EQ(Text(AddBox()), " German Keyboard       ");

    SwitchToEnglish();
    BuildAddWordDialogTemplate(expected, app.geometry, DictionaryDirection::EnglishToGerman);
    EXPECT_EQ(0, std::memcmp(app.addWordTemplate.bytes, expected.bytes, kAddWordTemplateBytes));
    EXPECT_EQ(Text(app.addWordDialog), "AddWord : English To German" + Blanks(53));
}

TEST_F(AddWordDialog, EntriesAreAppendedWholeAndInOrderAndFoundAtOnce)
{
    StartGerman();
    const std::string before = FileBytes("GerEng.dat");
    ASSERT_EQ(before, GerEngFile(kGerEngData));
    HWND dialog = app.addWordDialog;

    AddEntry("Haus (n) house");
    const std::string line = "Haus (n)" + Blanks(35) + "*house\r\n";
    ASSERT_EQ(line.size(), 51u);
    EXPECT_EQ(FileBytes("GerEng.dat"), before + line);
    EXPECT_EQ(EntryField(), "") << "the field is emptied once the line is on disk";
    EXPECT_EQ(app.addWordDialog, dialog) << "the dialog stays open for the next entry";
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_TRUE(boxes.Seen().empty());
    ExpectDictionaryOpenOver("GerEng.dat");

    AddEntry("Maus mouse");
    EXPECT_EQ(FileBytes("GerEng.dat"), before + line + "Maus " + Blanks(38) + "*mouse\r\n");
    EXPECT_EQ(EntryField(), "");

    // The re-opened dictionary reaches to the new end of the file.
    SearchFor("Haus");
    EXPECT_EQ(app.results.resultCount, 1);
    const std::vector<ListTextSeen> rows = RepaintList();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, "Haus (n)" + Blanks(35));
    EXPECT_EQ(rows[1].text, "house");
    SearchFor("Maus");
    EXPECT_EQ(app.results.resultCount, 1);
}

// Editors often save the last line without its CR LF, or with its CR only.
// The new entry must start a line of its own, and the old last entry keep
// its translation.
TEST_F(AddWordDialog, AnEntryAfterALastLineWithoutItsLineEndStartsALineOfItsOwn)
{
    for (const std::string& end : {std::string(), std::string("\r")}) {
        SCOPED_TRACE(end.empty() ? "no line end" : "CR only");
        const std::string before = GerEngFile(kGerEngData + "Hund*dog" + end);
        WriteFile("GerEng.dat", before);
        Start();
        AddEntry("Haus (n) house");
        EXPECT_EQ(FileBytes("GerEng.dat"), before + (end.empty() ? "\r\n" : "\n") + FixedLine("Haus (n)", "house"));
        EXPECT_EQ(EntryField(), "");
        SearchFor("Hund");
        const std::vector<ListTextSeen> rows = RepaintList();
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[1].text, "dog");
        SearchFor("Haus");
        EXPECT_EQ(app.results.resultCount, 1);
        Stop();
    }
}

TEST_F(AddWordDialog, RefusedEntriesLeaveFileAndFieldAsTheyWere)
{
    StartGerman();
    const std::string german = FileBytes("GerEng.dat");
    ASSERT_EQ(german, GerEngFile(kGerEngData));

    struct Refusal {
        std::string entry;
        std::string text; // empty: no box at all
    };
    const Refusal refusals[] = {
        {std::string(40, 'W') + " word", "Source entry is 1   bytes too long."},
        {"Haus (n) ::  ", ""},
        {"Haus", kEntryNeedsBothPartsMessage},
        {":house", kEntryNeedsBothPartsMessage},
        {"10 zehn", "Source entry must begin with a letter."},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE("'" + r.entry + "'");
        boxes.Clear();
        AddEntry(r.entry);
        EXPECT_EQ(FileBytes("GerEng.dat"), german);
        EXPECT_EQ(EntryField(), r.entry);
        if (r.text.empty()) {
            EXPECT_TRUE(boxes.Seen().empty());
        } else {
            ASSERT_EQ(boxes.Seen().size(), 1u);
            EXPECT_EQ(boxes.Seen()[0].caption, "Source Entry Error");
            EXPECT_EQ(boxes.Seen()[0].text, r.text);
            EXPECT_EQ(boxes.Seen()[0].owner, app.addWordDialog);
        }
        ExpectDictionaryOpenOver("GerEng.dat");
    }

    SwitchToEnglish();
    const std::string english = FileBytes("EngGer.dat");
    ASSERT_EQ(english, EngGerFile(kEngGerData));
    boxes.Clear();
    AddEntry("house Haus");
    EXPECT_EQ(FileBytes("EngGer.dat"), english);
    EXPECT_EQ(EntryField(), "house Haus");
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].caption, "Source Entry Error");
    EXPECT_EQ(boxes.Seen()[0].text, "No End-Of-Source marker (colon) found.");
    EXPECT_EQ(boxes.Seen()[0].owner, app.addWordDialog);
    ExpectDictionaryOpenOver("EngGer.dat");

    boxes.Clear();
    AddEntry(" : house");
    EXPECT_EQ(FileBytes("EngGer.dat"), english) << "a source of blanks alone is never found";
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, "Source entry must begin with a letter.");

    // With the colon the same entry goes in.
    AddEntry("house: Haus");
    EXPECT_EQ(FileBytes("EngGer.dat"), english + "house" + Blanks(38) + "* Haus\r\n");
}

TEST_F(AddWordDialog, AFailedWriteKeepsTheEntryAndTellsTheUser)
{
    StartGerman();
    const std::string before = FileBytes("GerEng.dat");
    ASSERT_EQ(before, GerEngFile(kGerEngData));
    {
        ShortWrites shortWrites(10);
        AddEntry("Haus (n) house");
    }
    EXPECT_EQ(FileBytes("GerEng.dat"), before) << "the ten bytes written are cut off again";
    EXPECT_EQ(EntryField(), "Haus (n) house");
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].caption, " ! ERROR !");
    EXPECT_EQ(boxes.Seen()[0].text, kEntryNotWrittenMessage);
    EXPECT_EQ(boxes.Seen()[0].owner, app.addWordDialog);
    ExpectDictionaryOpenOver("GerEng.dat");

    // The kept text goes in with the next Enter.
    boxes.Clear();
    FocusOn(EntryEdit());
    Key(VK_RETURN);
    const std::string line = FixedLine("Haus (n)", "house");
    EXPECT_EQ(FileBytes("GerEng.dat"), before + line);
    EXPECT_EQ(EntryField(), "");
    EXPECT_TRUE(boxes.Seen().empty());

    // When the cut-back fails too, the start of the line stays in the file,
    // and the user is told so rather than that nothing was added.
    boxes.Clear();
    {
        ShortWrites shortWrites(10);
        ImportPatch noCutBack("kernel32.dll", "SetEndOfFile", reinterpret_cast<void*>(FailingSetEndOfFile));
        ASSERT_TRUE(noCutBack.Active());
        AddEntry("Maus mouse");
    }
    const std::string mouse = FixedLine("Maus ", "mouse");
    EXPECT_EQ(FileBytes("GerEng.dat"), before + line + mouse.substr(0, 10));
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, kEntryDamagedMessage);
    EXPECT_EQ(EntryField(), "Maus mouse");
    // The next entry starts on a line of its own after the partial one.
    boxes.Clear();
    FocusOn(EntryEdit());
    Key(VK_RETURN);
    EXPECT_TRUE(boxes.Seen().empty());
    EXPECT_EQ(FileBytes("GerEng.dat"), before + line + mouse.substr(0, 10) + "\r\n" + mouse);
}

// While a box of the add path waits, the search dialog's close box still
// works and closes both dialogs and the dictionary. The add path must not
// open the dictionary again behind them, or the next command would keep
// the German file whatever direction it asks for.
TEST_F(AddWordDialog, DialogsClosedUnderABoxLeaveNoDictionaryOpen)
{
    StartGerman();
    WriteFile("EngGer.dat", EngGerFile(kEngGerData));
    const std::string german = FileBytes("GerEng.dat");
    for (int32_t writeLimit : {-1, 10}) {
        SCOPED_TRACE(writeLimit < 0 ? "Source Entry Error" : " ! ERROR !");
        Command(IDM_TRANS_GER_ENG);
        Command(IDM_ADD_GER_ENG);
        ASSERT_NE(app.searchDialog, nullptr);
        boxes.Clear();
        // What the close box comes to: the dialog manager posts IDCANCEL,
        // which the box's own message loop delivers.
        boxes.WhileUp([] { PostMessageA(app.searchDialog, WM_COMMAND, IDCANCEL, 0); });
        {
            ShortWrites shortWrites(writeLimit);
            AddEntry(writeLimit < 0 ? "Haus" : "Haus (n) house");
        }
        ASSERT_EQ(boxes.Seen().size(), 1u);
        EXPECT_EQ(app.addWordDialog, nullptr);
        EXPECT_EQ(app.searchDialog, nullptr);
        EXPECT_EQ(app.dictionary.fileHandle, nullptr);

        Command(IDM_TRANS_ENG_GER);
        ASSERT_NE(app.searchDialog, nullptr);
        EXPECT_EQ(Text(app.searchDialog), "Search English To German" + Blanks(26));
        EXPECT_STREQ(app.dictionary.fileName, "EngGer.dat");
        SearchFor("hand");
        EXPECT_EQ(app.results.resultCount, 1);
        SendMessageA(app.searchDialog, WM_COMMAND, IDCANCEL, 0);
        Pump();
    }
    EXPECT_EQ(ReadFile("GerEng.dat"), german);
}

// Wine's layout calls are stubs, so the test stands in for them: a desktop
// with the user's layouts, of which the program may load and activate more.
struct FakeLayouts {
    inline static const HKL kUs = reinterpret_cast<HKL>(0x04090409);
    inline static const HKL kGerman = reinterpret_cast<HKL>(0x04070407);
    static std::vector<HKL> loaded;
    static HKL active;
    static std::vector<std::string> calls;

    static HKL WINAPI GetLayout(DWORD) { return active; }
    static int WINAPI GetList(int room, HKL* list)
    {
        const int count = static_cast<int>(loaded.size());
        if (room == 0)
            return count;
        for (int i = 0; i < count && i < room; ++i)
            list[i] = loaded[static_cast<size_t>(i)];
        return count < room ? count : room;
    }
    static HKL WINAPI Load(LPCSTR id, UINT flags)
    {
        calls.push_back(std::string("load ") + id + (flags == KLF_ACTIVATE ? " activate" : " ?"));
        if (std::find(loaded.begin(), loaded.end(), kGerman) == loaded.end())
            loaded.push_back(kGerman);
        active = kGerman;
        return kGerman;
    }
    static HKL WINAPI Activate(HKL layout, UINT)
    {
        calls.push_back(layout == kUs ? "activate US" : "activate other");
        const HKL before = active;
        active = layout;
        return before;
    }
    static BOOL WINAPI Unload(HKL layout)
    {
        calls.push_back(layout == kGerman ? "unload German" : "unload other");
        loaded.erase(std::remove(loaded.begin(), loaded.end(), layout), loaded.end());
        return TRUE;
    }
};
std::vector<HKL> FakeLayouts::loaded;
HKL FakeLayouts::active;
std::vector<std::string> FakeLayouts::calls;

TEST_F(AddWordDialog, TheUsersLayoutComesBackAndOnlyTheProgramsOwnIsUnloaded)
{
    ImportPatch patches[] = {
        {"user32.dll", "GetKeyboardLayout", reinterpret_cast<void*>(FakeLayouts::GetLayout)},
        {"user32.dll", "GetKeyboardLayoutList", reinterpret_cast<void*>(FakeLayouts::GetList)},
        {"user32.dll", "LoadKeyboardLayoutA", reinterpret_cast<void*>(FakeLayouts::Load)},
        {"user32.dll", "ActivateKeyboardLayout", reinterpret_cast<void*>(FakeLayouts::Activate)},
        {"user32.dll", "UnloadKeyboardLayout", reinterpret_cast<void*>(FakeLayouts::Unload)},
    };
    for (const ImportPatch& patch : patches)
        ASSERT_TRUE(patch.Active());
    StartGerman();
    const std::vector<std::string> switchedBack = {"load 00000407 activate", "activate US", "unload German"};

    // Each way the German layout can end: the box cleared, both dialogs
    // closed, the program ended.
    const std::function<void()> endings[] = {
        [&] { SendMessageA(AddBox(), BM_CLICK, 0, 0); },
        [&] { SendMessageA(app.addWordDialog, WM_COMMAND, IDCANCEL, 0); },
        [&] { DestroyWindow(app.mainWindow); },
    };
    for (const std::function<void()>& end : endings) {
        if (app.addWordDialog == nullptr)
            Command(IDM_ADD_GER_ENG);
        FakeLayouts::loaded = {FakeLayouts::kUs};
        FakeLayouts::active = FakeLayouts::kUs;
        FakeLayouts::calls.clear();
        SendMessageA(AddBox(), BM_CLICK, 0, 0);
        Pump();
        EXPECT_EQ(FakeLayouts::active, FakeLayouts::kGerman);
        end();
        Pump();
        EXPECT_EQ(FakeLayouts::calls, switchedBack);
        EXPECT_EQ(FakeLayouts::active, FakeLayouts::kUs);
        EXPECT_EQ(FakeLayouts::loaded, std::vector<HKL>{FakeLayouts::kUs});
    }
    EXPECT_TRUE(quitPosted) << "the last ending is the program's own";

    // A German layout the user had before is the user's: switched away
    // from, never unloaded.
    Stop();
    StartGerman();
    FakeLayouts::loaded = {FakeLayouts::kUs, FakeLayouts::kGerman};
    FakeLayouts::active = FakeLayouts::kUs;
    FakeLayouts::calls.clear();
    SendMessageA(AddBox(), BM_CLICK, 0, 0);
    SendMessageA(AddBox(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(FakeLayouts::calls, std::vector<std::string>({"load 00000407 activate", "activate US"}));
    EXPECT_EQ(FakeLayouts::loaded.size(), 2u);
}

TEST_F(AddWordDialog, AReadOnlyFileKeepsTheEntryAndTellsTheUser)
{
    StartGerman();
    const std::string before = FileBytes("GerEng.dat");
    ASSERT_EQ(before, GerEngFile(kGerEngData));
    const std::string path = folder + "\\GerEng.dat";
    // The program holds the file open without sharing, yet the attribute can
    // be set meanwhile: that is no access to the data, so the share mode does
    // not stand in the way. Starting with a read-only file would test
    // nothing here, since the program cannot open such a dictionary at all.
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY)) << GetLastError();

    AddEntry("Haus (n) house");
    EXPECT_EQ(FileBytes("GerEng.dat"), before);
    EXPECT_EQ(EntryField(), "Haus (n) house");
    ASSERT_EQ(boxes.Seen().size(), 2u);
    EXPECT_EQ(boxes.Seen()[0].caption, " ! ERROR !");
    EXPECT_EQ(boxes.Seen()[0].text, kEntryNotWrittenMessage);
    EXPECT_EQ(boxes.Seen()[0].owner, app.addWordDialog);
    // The open after the append needs write access too, so it reports the
    // file and leaves the dictionary closed.
    EXPECT_EQ(boxes.Seen()[1].owner, app.mainWindow);
    EXPECT_EQ(boxes.Seen()[1].text,
              " Can't find the data file. This file must be in the same directory as Vokabix.exe");
    EXPECT_EQ(app.dictionary.fileHandle, nullptr);

    // Writable again, the kept text goes in with the next Enter and the
    // dictionary is open once more.
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL));
    boxes.Clear();
    FocusOn(EntryEdit());
    Key(VK_RETURN);
    EXPECT_TRUE(boxes.Seen().empty());
    EXPECT_EQ(EntryField(), "");
    ExpectDictionaryOpenOver("GerEng.dat");
    EXPECT_EQ(FileBytes("GerEng.dat"), before + "Haus (n)" + Blanks(35) + "*house\r\n");
}

TEST_F(AddWordDialog, TheListStaysOnScreenAcrossAnAppend)
{
    StartGerman();
    const std::vector<ListTextSeen> before = RepaintList();
    ASSERT_EQ(before.size(), 6u) << "the three x lines of the start-up search";

    AddEntry("Haus (n) house");
    ASSERT_EQ(EntryField(), "");
    const std::vector<ListTextSeen> after = RepaintList();
    ASSERT_EQ(after.size(), before.size());
    const char* view = reinterpret_cast<const char*>(app.dictionary.view);
    for (size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].x, before[i].x);
        EXPECT_EQ(after[i].y, before[i].y);
        EXPECT_EQ(after[i].text, before[i].text);
        // Read from the view mapped after the append, never the old one.
        EXPECT_GE(after[i].address, view);
        EXPECT_LE(after[i].address + after[i].text.size(), view + app.dictionary.fileSize);
    }
}

TEST_F(AddWordDialog, CheckBoxesFollowEachOtherBothWays)
{
    StartGerman();
    const HKL before = GetKeyboardLayout(0);
    SendMessageA(SearchBox(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(SendMessageA(SearchBox(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(AddBox(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Text(SearchBox()), " German Keyboard In Use");
    EXPECT_EQ(Text(AddBox()), " German Keyboard In Use");
    EXPECT_NE(app.germanLayout, nullptr);

    SendMessageA(AddBox(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(SendMessageA(SearchBox(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(AddBox(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(Text(SearchBox()), " German Keyboard       ");
    EXPECT_EQ(Text(AddBox()), " German Keyboard       ");
    EXPECT_EQ(app.germanLayout, nullptr);
    EXPECT_TRUE(GetFocus() == app.addWordDialog || IsChild(app.addWordDialog, GetFocus()))
        << "the focus stays in the dialog whose box was clicked";
    ActivateKeyboardLayout(before, 0);
}

TEST_F(AddWordDialog, CancelFromEitherDialogClosesBoth)
{
    StartGerman();
    ASSERT_EQ(app.results.resultCount, 3);
    FocusOn(EntryEdit());
    Key(VK_ESCAPE);
    EXPECT_EQ(app.addWordDialog, nullptr);
    EXPECT_EQ(app.searchDialog, nullptr);
    ExpectSixMenuItemsEnabled();
    EXPECT_EQ(app.results.resultCount, 0);
    EXPECT_EQ(ScrollInfo().nPos, 0);
    EXPECT_EQ(GetFocus(), app.mainWindow);
    EXPECT_EQ(app.dictionary.fileHandle, nullptr);
    EXPECT_TRUE(RepaintList().empty());

    // Again with both open, now closed with the search dialog's close box.
    Command(IDM_TRANS_GER_ENG);
    Command(IDM_ADD_GER_ENG);
    SearchFor("x");
    ASSERT_EQ(app.results.resultCount, 3);
    ASSERT_TRUE(Grayed(IDM_ADD));
    HWND add = app.addWordDialog;
    SendMessageA(app.searchDialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_EQ(app.addWordDialog, nullptr);
    EXPECT_EQ(app.searchDialog, nullptr);
    EXPECT_FALSE(IsWindow(add));
    ExpectSixMenuItemsEnabled();
    EXPECT_EQ(GetFocus(), app.mainWindow);
    // The search dialog lets go of the dictionary while the add-word dialog
    // still stands, so the count of the last search is left as it was; with
    // no view mapped the list draws nothing all the same.
    EXPECT_EQ(app.dictionary.view, nullptr);
    EXPECT_TRUE(RepaintList().empty()) << "the list shows nothing with the dictionary closed";
    EXPECT_EQ(ScrollInfo().nMax, 0) << "the bar keeps no range over the empty list";
    EXPECT_EQ(ScrollInfo().nPos, 0);
}

} // namespace
