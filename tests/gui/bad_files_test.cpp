// Data files that are missing, refused, broken or huge, and appends that
// fail: for each, what the user is told, what the list shows, that nothing
// is read outside the file, and that the file itself is left as it was.
#include "gui_fixture.h"

#include <cctype>
#include <chrono>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "windows/add_word_dialog.h"

namespace {

const char kDataFileMissing[] =
    " Can't find the data file. This file must be in the same directory as Vokabix.exe";
const char kErrorCaption[] = " ! ERROR !";
const char kNewEntry[] = "Haus (n) house";

std::string NewEntryLine()
{
    return FixedLine("Haus (n)", "house");
}

// --- Replacing one of this program's kernel32 imports --------------------------
//
// The append closes the dictionary and opens the file for writing right
// after, inside one key press, and the dictionary is held without sharing
// until then: no other process can delete, lock or change the file in that
// gap, and no test can reach into it from outside. The program's calls to
// CreateFileA go through this executable's import table, so the test puts
// itself in between and acts exactly when the append's open comes.

using CreateFileAFunction = HANDLE(WINAPI*)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
CreateFileAFunction realCreateFileA = nullptr;
void (*beforeAppendOpen)() = nullptr;
bool dictionaryClosedAtAppendOpen = false;
HANDLE heldElsewhere = INVALID_HANDLE_VALUE;
bool fileChanged = false;

HANDLE WINAPI CreateFileAWatch(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD flags, HANDLE templateFile)
{
    // Armed just before the Enter: the first open for writing after it is
    // the append's own.
    if (beforeAppendOpen != nullptr && (access & GENERIC_WRITE) != 0 && lstrcmpiA(name, "GerEng.dat") == 0) {
        void (*action)() = beforeAppendOpen;
        beforeAppendOpen = nullptr;
        dictionaryClosedAtAppendOpen = app.dictionary.fileHandle == nullptr && app.dictionary.view == nullptr;
        action();
    }
    return realCreateFileA(name, access, share, security, disposition, flags, templateFile);
}

class CreateFileAPatch {
public:
    CreateFileAPatch() : patch_("kernel32.dll", "CreateFileA", reinterpret_cast<void*>(CreateFileAWatch))
    {
        realCreateFileA = reinterpret_cast<CreateFileAFunction>(patch_.Original());
    }
    ~CreateFileAPatch() { beforeAppendOpen = nullptr; }
    bool Active() const { return patch_.Active(); }

private:
    ImportPatch patch_;
};

// --- The fixture -----------------------------------------------------------------

class BadFiles : public ProgramTest {
protected:
    void TearDown() override
    {
        if (heldElsewhere != INVALID_HANDLE_VALUE)
            CloseHandle(heldElsewhere);
        heldElsewhere = INVALID_HANDLE_VALUE;
        ProgramTest::TearDown();
    }

    // What the list paints, as the painter hands it out.
    ListTextRecorder painted;

    std::string PathOf(const std::string& name) const { return folder + "\\" + name; }

    // The rows the list paints now, each as its texts joined by "|", top down.
    std::vector<std::string> Rows()
    {
        painted.Clear();
        RedrawWindow(app.mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Pump();
        return GroupRows(painted.Texts());
    }

    static std::vector<std::string> GroupRows(const std::vector<ListTextSeen>& texts)
    {
        std::vector<std::string> rows;
        int y = -1;
        for (const ListTextSeen& t : texts) {
            if (rows.empty() || t.y != y)
                rows.emplace_back();
            else
                rows.back() += "|";
            rows.back() += t.text;
            y = t.y;
        }
        return rows;
    }

    // A search as the search dialog asks for it; with no dialog open, as the
    // start-up asks for it.
    std::vector<std::string> Search(const std::string& text)
    {
        if (app.searchDialog != nullptr) {
            SetDlgItemTextA(app.searchDialog, IDC_SEARCH_EDIT, text.c_str());
            KeyTo(GetDlgItem(app.searchDialog, IDC_SEARCH_EDIT), VK_RETURN);
        } else {
            std::memcpy(app.searchText, text.c_str(), text.size() + 1);
            app.searchLength = static_cast<uint32_t>(text.size());
            Command(WM_RUN_SEARCH);
        }
        ExpectRecordsInsideTheFile();
        return Rows();
    }

    static std::string Row(const std::string& source, const std::string& translation)
    {
        std::string line = FixedLine(source, translation);
        return line.substr(0, 43) + "|" + translation;
    }

    // Every record of the list lies wholly inside the mapped file.
    void ExpectRecordsInsideTheFile()
    {
        const uint32_t size = app.dictionary.fileSize;
        for (int32_t i = 0; i < app.results.resultCount && !app.strongs.loaded; ++i) {
            const ResultRecord& r = app.results.table.results[i];
            SCOPED_TRACE("record " + std::to_string(i));
            EXPECT_LE(r.source, size);
            EXPECT_LE(r.sourceLength, size - r.source);
            EXPECT_LE(r.translation, size);
            EXPECT_LE(r.translationLength, size - r.translation);
        }
    }

    void ExpectDataFileBoxes(size_t count)
    {
        ASSERT_EQ(boxes.Seen().size(), count);
        for (const MessageBoxSeen& box : boxes.Seen()) {
            EXPECT_EQ(box.caption, kErrorCaption);
            EXPECT_EQ(box.text, kDataFileMissing);
            EXPECT_EQ(box.owner, app.mainWindow);
        }
    }

    // A dictionary that opens but holds nothing to find: no message, the
    // search dialog is there, every search comes back empty, the file stays.
    void ExpectOpensWithNothingToFind(const std::string& bytes)
    {
        WriteFile("GerEng.dat", bytes);
        Start();
        EXPECT_TRUE(boxes.Seen().empty());
        EXPECT_NE(app.dictionary.fileHandle, nullptr);
        ASSERT_NE(app.searchDialog, nullptr);
        for (const char* text : {"x", "Haus", "G", " ", "*"}) {
            SCOPED_TRACE(std::string("search for '") + text + "'");
            EXPECT_TRUE(Search(text).empty());
            EXPECT_EQ(app.results.resultCount, 0);
        }
        const HWND focus = GetFocus();
        EXPECT_TRUE(focus == app.searchDialog || IsChild(app.searchDialog, focus))
            << "no hits: the next word can be typed at once";
        CloseProgram();
        EXPECT_EQ(ReadFile("GerEng.dat"), bytes);
    }

    // Closes the main window as its close box would: the program lets go of
    // its files, so the test can read them.
    void CloseProgram()
    {
        if (app.mainWindow != nullptr)
            DestroyWindow(app.mainWindow);
        Pump();
    }

    // --- Appends ---

    HWND EntryEdit() const { return GetDlgItem(app.addWordDialog, IDC_ENTRY_EDIT); }

    void EnterNewEntry()
    {
        SetDlgItemTextA(app.addWordDialog, IDC_ENTRY_EDIT, kNewEntry);
        KeyTo(EntryEdit(), VK_RETURN);
    }

    // The append failed: the user is told in a box over the add-word dialog
    // and finds the entry still in the field to try again.
    void ExpectEntryNotWritten()
    {
        ASSERT_GE(boxes.Seen().size(), 1u);
        EXPECT_EQ(boxes.Seen()[0].caption, kErrorCaption);
        EXPECT_EQ(boxes.Seen()[0].text, kEntryNotWrittenMessage);
        EXPECT_EQ(boxes.Seen()[0].owner, app.addWordDialog);
        EXPECT_EQ(EditText(app.addWordDialog, IDC_ENTRY_EDIT), kNewEntry);
        EXPECT_NE(app.addWordDialog, nullptr) << "the dialog stays open";
    }

    // ... and the re-open after it failed as well and said so.
    void ExpectReopenRefused()
    {
        ASSERT_EQ(boxes.Seen().size(), 2u);
        EXPECT_EQ(boxes.Seen()[1].caption, kErrorCaption);
        EXPECT_EQ(boxes.Seen()[1].text, kDataFileMissing);
        EXPECT_EQ(boxes.Seen()[1].owner, app.mainWindow);
        EXPECT_EQ(app.dictionary.fileHandle, nullptr);
        EXPECT_EQ(app.dictionary.view, nullptr);
    }

    // A second Enter once the file can be written again adds the entry.
    void ExpectRetrySucceeds(const std::string& before)
    {
        boxes.Clear();
        KeyTo(EntryEdit(), VK_RETURN);
        EXPECT_TRUE(boxes.Seen().empty());
        EXPECT_EQ(EditText(app.addWordDialog, IDC_ENTRY_EDIT), "");
        EXPECT_NE(app.dictionary.fileHandle, nullptr);
        EXPECT_EQ(Search("Haus"), std::vector<std::string>({Row("Haus (n)", "house")}));
        CloseProgram();
        EXPECT_EQ(ReadFile("GerEng.dat"), before + NewEntryLine());
    }

    const std::string dictionaryBytes = GerEngFile(FixedLine("xylophon", "xylophone") + FixedLine("Hund", "dog"));
};

std::string Column(const std::string& text)
{
    return text + std::string(17 - text.size(), ' ');
}

std::string StrongsLine(int i)
{
    const std::string n = std::to_string(i);
    return "\xFB" + Column("c" + n) + Column("d" + n) + Column("e" + n) + "fourth " + n + "\r\n";
}

std::string StrongsRow(int i)
{
    const std::string n = std::to_string(i);
    return Column("c" + n) + "|" + Column("d" + n) + "|" + Column("e" + n) + "|fourth " + n;
}

// --- GerEng.dat that cannot be opened --------------------------------------------

class UnopenedDictionary : public BadFiles {};

TEST_F(UnopenedDictionary, MissingFileIsReportedTwiceAndNotCreated)
{
    Start();
    // The search command and the add command each try, and each says so.
    ExpectDataFileBoxes(2);
    EXPECT_EQ(app.searchDialog, nullptr);
    ASSERT_NE(app.addWordDialog, nullptr) << "the add command opens its dialog all the same";
    EXPECT_EQ(app.dictionary.fileHandle, nullptr);
    EXPECT_TRUE(Search("x").empty());
    EXPECT_TRUE(Search("Haus").empty());
    EXPECT_FALSE(FileExists("GerEng.dat")) << "the program opens existing files only";
    // With no search dialog to type into, the keys go to the add-word
    // dialog, also when the user comes back from another program.
    EXPECT_TRUE(IsChild(app.addWordDialog, GetFocus()));
    SendMessageA(app.mainWindow, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(IsChild(app.addWordDialog, GetFocus()));

    // An entry typed now has nowhere to go: the file is not made, the entry
    // stays, and the re-open reports the missing file once more.
    boxes.Clear();
    EnterNewEntry();
    ExpectEntryNotWritten();
    ExpectReopenRefused();
    EXPECT_FALSE(FileExists("GerEng.dat"));
}

TEST_F(UnopenedDictionary, ReadOnlyFileIsRefusedForItsWriteAccess)
{
    WriteFile("GerEng.dat", dictionaryBytes);
    ASSERT_TRUE(SetFileAttributesA(PathOf("GerEng.dat").c_str(), FILE_ATTRIBUTE_READONLY));
    Start();
    ExpectDataFileBoxes(2);
    EXPECT_EQ(app.searchDialog, nullptr);
    EXPECT_EQ(app.dictionary.fileHandle, nullptr);
    EXPECT_TRUE(Search("x").empty());
    CloseProgram();
    EXPECT_EQ(GetFileAttributesA(PathOf("GerEng.dat").c_str()) & FILE_ATTRIBUTE_READONLY,
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(ReadFile("GerEng.dat"), dictionaryBytes);
}

TEST_F(UnopenedDictionary, FileHeldWithoutSharingIsRefusedUntilReleased)
{
    // Sharing is checked on the file, not on the process that holds it: a
    // handle of this process stands for another program's here (the
    // end-to-end tests hold it from a second process).
    WriteFile("GerEng.dat", dictionaryBytes);
    heldElsewhere = CreateFileA(PathOf("GerEng.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(heldElsewhere, INVALID_HANDLE_VALUE);
    Start();
    ExpectDataFileBoxes(2);
    EXPECT_EQ(app.searchDialog, nullptr);
    EXPECT_EQ(app.dictionary.fileHandle, nullptr);

    // Released, the search command finds the file.
    CloseHandle(heldElsewhere);
    heldElsewhere = INVALID_HANDLE_VALUE;
    boxes.Clear();
    Command(IDM_TRANS_GER_ENG);
    EXPECT_TRUE(boxes.Seen().empty());
    ASSERT_NE(app.searchDialog, nullptr);
    EXPECT_EQ(Search("Hu"), std::vector<std::string>({Row("Hund", "dog")}));
    CloseProgram();
    EXPECT_EQ(ReadFile("GerEng.dat"), dictionaryBytes);
}

// --- GerEng.dat that opens but holds nothing to find -----------------------------

class DictionaryWithoutData : public BadFiles {};

TEST_F(DictionaryWithoutData, EmptyFileOpensWithoutAView)
{
    ExpectOpensWithNothingToFind("");
}

TEST_F(DictionaryWithoutData, OnlyTheMarker)
{
    ExpectOpensWithNothingToFind("GerEng Data Starts Here:");
}

TEST_F(DictionaryWithoutData, MarkerAndLineEndOnly)
{
    ExpectOpensWithNothingToFind("header\r\nGerEng Data Starts Here:\r\n");
}

TEST_F(DictionaryWithoutData, NoMarkerMeansNoData)
{
    ExpectOpensWithNothingToFind("header\r\n" + FixedLine("xylophon", "xylophone") + FixedLine("Haus", "house") +
                                 FixedLine("GerEng", "marker word"));
}

TEST_F(DictionaryWithoutData, MarkerInOtherLetterCaseOrOfTheOtherDirection)
{
    ExpectOpensWithNothingToFind("gereng data starts here:\r\n" + FixedLine("Haus", "house") +
                                 "EngGer Data Starts Here:\r\n" + FixedLine("xylophon", "xylophone") +
                                 "GerEng Data Starts Here\r\n" + FixedLine("Garten", "garden"));
}

// --- GerEng.dat that breaks the line rules ---------------------------------------

class BrokenDictionary : public BadFiles {};

TEST_F(BrokenDictionary, LastLineWithoutLineEndEndsItsTranslationAtTheEndOfTheFile)
{
    const std::string bytes = GerEngFile(FixedLine("Haus", "house") + "Hausboot" + std::string(35, ' ') +
                                         "*houseboat");
    WriteFile("GerEng.dat", bytes);
    Start();
    EXPECT_EQ(Search("Haus"), std::vector<std::string>({Row("Haus", "house"), Row("Hausboot", "houseboat")}));
    const ResultRecord& last = app.results.table.results[1];
    EXPECT_EQ(last.translation + last.translationLength, static_cast<uint32_t>(bytes.size()));
    EXPECT_EQ(Search("Hausboot"), std::vector<std::string>({Row("Hausboot", "houseboat")}));
    CloseProgram();
    EXPECT_EQ(ReadFile("GerEng.dat"), bytes);
}

TEST_F(BrokenDictionary, MatchedLinesWithoutStarStayInsideTheFile)
{
    // A line with no "*" takes its source on to the next line's "*"; the
    // last line has no "*" after it at all, nor a line end.
    const std::string bytes =
        GerEngFile(FixedLine("Haus", "house") + "Hausboot ohne Stern\r\n" + FixedLine("Hecke", "hedge") +
                   "Hausnummer ohne Stern und Zeilenende");
    WriteFile("GerEng.dat", bytes);
    Start();
    const std::vector<std::string> rows = Search("Haus");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], Row("Haus", "house"));
    EXPECT_EQ(rows[1], "Hausboot ohne Stern\r\nHecke" + std::string(38, ' ') + "|hedge");
    const ResultRecord& last = app.results.table.results[2];
    EXPECT_EQ(last.source + last.sourceLength, static_cast<uint32_t>(bytes.size()));
    EXPECT_EQ(last.translationLength, 0u);
    EXPECT_EQ(rows[2].substr(0, 36), "Hausnummer ohne Stern und Zeilenende");
    CloseProgram();
    EXPECT_EQ(ReadFile("GerEng.dat"), bytes);
}

std::string Noise(size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& b : bytes)
        b = static_cast<char>(random() & 0xFF);
    return bytes;
}

TEST_F(BrokenDictionary, BinaryNoiseIsSearchedWithoutHarm)
{
    // Noise around one proper line: the line is found whatever comes before
    // it, and no record of the noise reaches past the end of the file.
    const std::string zebra = "\r\n" + FixedLine("Zebrastreifen", "zebra crossing");
    const std::string bytes = GerEngFile(Noise(40000, 1) + zebra + Noise(40001, 2) + "\r");
    WriteFile("GerEng.dat", bytes);
    Start();
    EXPECT_TRUE(boxes.Seen().empty());
    for (const std::string& text : {std::string("a"), std::string("Q"), std::string("\xFC"), std::string("x"),
                                    std::string("Ze"), std::string("\x80"), std::string("Zebra*")}) {
        SCOPED_TRACE("search for '" + text + "'");
        Search(text);
        EXPECT_LE(app.results.resultCount, 500);
        for (int32_t i = 0; i < app.results.resultCount; ++i) {
            const ResultRecord& r = app.results.table.results[i];
            ASSERT_LE(r.source + text.size(), bytes.size());
            EXPECT_EQ(bytes.compare(r.source, text.size(), text), 0) << "record " << i << " does not match";
        }
    }
    const std::vector<std::string> rows = Search("Zebrastreifen");
    EXPECT_EQ(rows, std::vector<std::string>({Row("Zebrastreifen", "zebra crossing")}));
    CloseProgram();
    EXPECT_EQ(ReadFile("GerEng.dat"), bytes);
}

TEST_F(BrokenDictionary, BinaryNoiseWithoutMarkerFindsNothing)
{
    ExpectOpensWithNothingToFind(Noise(50000, 3) + "\r\n" + FixedLine("Zebrastreifen", "zebra crossing"));
}

TEST_F(BrokenDictionary, HundredMegabytesAreSearchedInOnePass)
{
    // Two million lines between the two that are to be found. Each line is
    // the same pattern with its number written in, which is quick to make.
    constexpr int kLines = 2000000;
    const std::string pattern = FixedLine("Wort0000000", "word0000000");
    const std::string head = GerEngFile(FixedLine("xylophon", "xylophone"));
    const std::string tail = FixedLine("Zebrastreifen", "zebra crossing");
    std::string bytes(head.size() + kLines * pattern.size() + tail.size(), ' ');
    std::memcpy(&bytes[0], head.data(), head.size());
    char* line = &bytes[head.size()];
    for (int i = 0; i < kLines; ++i, line += pattern.size()) {
        std::memcpy(line, pattern.data(), pattern.size());
        for (int n = i, digit = 10; digit >= 4; --digit, n /= 10)
            line[digit] = line[44 + digit] = static_cast<char>('0' + n % 10);
    }
    std::memcpy(line, tail.data(), tail.size());
    ASSERT_GT(bytes.size(), 100u * 1000 * 1000);
    WriteFile("GerEng.dat", bytes);

    Start();
    ASSERT_EQ(app.dictionary.fileSize, bytes.size());
    EXPECT_EQ(app.results.resultCount, 1) << "the start-up search covered the whole file";

    const auto started = std::chrono::steady_clock::now();
    const std::vector<std::string> zebra = Search("Zebra");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_EQ(zebra, std::vector<std::string>({Row("Zebrastreifen", "zebra crossing")}));
    // Recorded, not asserted: a busy machine, or the 32-bit lane's emulation,
    // can make any bound fail a search that is right.
    RecordProperty("search_100mb_ms", static_cast<int>(seconds * 1000));

    // Two million hits: the first 499 and the very last are kept.
    Search("Wort");
    EXPECT_EQ(app.results.resultCount, 500);
    const ResultRecord& last = app.results.table.results[499];
    EXPECT_EQ(bytes.substr(last.source, last.sourceLength), "Wort1999999" + std::string(32, ' '));
    EXPECT_EQ(bytes.substr(last.translation, last.translationLength), "word1999999");
    EXPECT_EQ(bytes.substr(app.results.table.results[498].source, 11), "Wort0000498");
    CloseProgram();
    // The fixture deletes the folder's files; the 100 MB go with them.
}

// --- strongs.dat --------------------------------------------------------------------

class BadStrongsFile : public BadFiles {
protected:
    void StartWithDictionary()
    {
        WriteFile("GerEng.dat", GerEngFile(NumberedLines("xa", 3)));
        Start();
        boxes.Clear();
    }

    void ExpectLoadedEmpty()
    {
        EXPECT_EQ(app.strongs.loaded, 1);
        EXPECT_EQ(app.results.resultCount, 0);
        EXPECT_TRUE(Grayed(IDM_STRONGS));
        EXPECT_TRUE(Rows().empty());
    }
};

TEST_F(BadStrongsFile, MissingOrHeldFileIsReportedAndTheListStaysEmpty)
{
    StartWithDictionary();
    Key(VK_F4);
    ExpectDataFileBoxes(1);
    ExpectLoadedEmpty();

    WriteFile("strongs.dat", StrongsLine(0));
    heldElsewhere = CreateFileA(PathOf("strongs.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(heldElsewhere, INVALID_HANDLE_VALUE);
    Search("xa");
    boxes.Clear();
    Command(IDM_STRONGS);
    ExpectDataFileBoxes(1);
    ExpectLoadedEmpty();
}

TEST_F(BadStrongsFile, ReadOnlyFileIsRefusedForItsWriteAccess)
{
    WriteFile("strongs.dat", StrongsLine(0));
    ASSERT_TRUE(SetFileAttributesA(PathOf("strongs.dat").c_str(), FILE_ATTRIBUTE_READONLY));
    StartWithDictionary();
    Command(IDM_STRONGS);
    ExpectDataFileBoxes(1);
    ExpectLoadedEmpty();
}

TEST_F(BadStrongsFile, EmptyFileLoadsAnEmptyListWithoutMessage)
{
    WriteFile("strongs.dat", "");
    StartWithDictionary();
    Command(IDM_STRONGS);
    EXPECT_TRUE(boxes.Seen().empty());
    ExpectLoadedEmpty();
    EXPECT_EQ(Search("xa").size(), 3u) << "the next search shows the dictionary again";
    CloseProgram();
    EXPECT_EQ(ReadFile("strongs.dat"), "");
}

TEST_F(BadStrongsFile, MoreThan250RecordsKeepTheFirst250)
{
    std::string bytes;
    for (int i = 0; i < 300; ++i)
        bytes += StrongsLine(i);
    WriteFile("strongs.dat", bytes);
    StartWithDictionary();
    Command(IDM_STRONGS);
    EXPECT_EQ(app.results.resultCount, 300) << "every line counts as a row";
    EXPECT_EQ(app.results.resultCapacity, 500) << "nothing was written past the table";
    const std::vector<std::string> firstPage = Rows();
    ASSERT_EQ(static_cast<int>(firstPage.size()), PageRows(app.list));
    EXPECT_EQ(firstPage[0], StrongsRow(0));

    // Near the end of the stored records (placed there at once: a key press
    // per row would take long), three rows down, one at a time: the 250th
    // record comes in at the bottom, the rows after it have no record and
    // stay blank.
    const int page = PageRows(app.list);
    app.list.scrollInfo.nPos = 249 - page;
    const std::vector<std::string> before = Rows();
    ASSERT_EQ(static_cast<int>(before.size()), page);
    EXPECT_EQ(before.back(), StrongsRow(248));
    const std::vector<std::vector<std::string>> comingIn = {{StrongsRow(249)}, {}, {}};
    for (const std::vector<std::string>& expected : comingIn) {
        painted.Clear();
        KeyTo(app.mainWindow, VK_DOWN);
        EXPECT_EQ(GroupRows(painted.Texts()), expected) << "row coming in at nPos " << app.list.scrollInfo.nPos;
    }
    ASSERT_EQ(app.list.scrollInfo.nPos, 252 - page);
    const std::vector<std::string> rows = Rows();
    ASSERT_EQ(static_cast<int>(rows.size()), page - 2);
    EXPECT_EQ(rows.front(), StrongsRow(252 - page));
    EXPECT_EQ(rows.back(), StrongsRow(249));
    // The list lets go of its file at the next search; it was only read.
    Search("xa");
    EXPECT_EQ(ReadFile("strongs.dat"), bytes);
}

TEST_F(BadStrongsFile, RecordCutShortByTheEndOfTheFile)
{
    StartWithDictionary();
    // Cut inside the second column, then after the fourth column without its
    // line end, then right after the mark.
    const std::string full = StrongsLine(0) + StrongsLine(1);
    for (const std::string& cut : {StrongsLine(2).substr(0, 25), StrongsLine(2).substr(0, StrongsLine(2).size() - 2),
                                   std::string("\xFB")}) {
        const std::string bytes = full + cut;
        SCOPED_TRACE("file of " + std::to_string(bytes.size()) + " bytes");
        Search("xa");
        WriteFile("strongs.dat", bytes);
        Command(IDM_STRONGS);
        EXPECT_TRUE(boxes.Seen().empty());
        EXPECT_EQ(app.results.resultCount, 2);
        for (int r = 0; r < 3; ++r)
            for (const StrongsColumn& c : app.results.table.strongs[r].columns) {
                EXPECT_LE(c.position, bytes.size());
                EXPECT_LE(c.length, bytes.size() - c.position);
            }
        EXPECT_EQ(Rows(), std::vector<std::string>({StrongsRow(0), StrongsRow(1)}));
    }
}

// --- Appends that fail --------------------------------------------------------------

class FailingAppend : public BadFiles {
protected:
    void StartWithDictionary()
    {
        WriteFile("GerEng.dat", dictionaryBytes);
        Start();
        ASSERT_NE(app.addWordDialog, nullptr);
        ASSERT_NE(app.dictionary.fileHandle, nullptr);
        boxes.Clear();
    }
};

TEST_F(FailingAppend, WriteThatStopsPartWayLeavesNoPartOfTheLine)
{
    StartWithDictionary();
    {
        // All of the line but its last byte gets there before the write fails.
        ShortWrites shortWrites(static_cast<int32_t>(NewEntryLine().size()) - 1);
        EnterNewEntry();
        ExpectEntryNotWritten();
        EXPECT_EQ(boxes.Seen().size(), 1u) << "the file itself is fine, so the re-open says nothing";
        EXPECT_NE(app.dictionary.fileHandle, nullptr);
        EXPECT_EQ(app.dictionary.fileSize, dictionaryBytes.size());
        EXPECT_TRUE(Search("Haus").empty());
    }
    {
        ShortWrites shortWrites(0);
        boxes.Clear();
        KeyTo(EntryEdit(), VK_RETURN);
        ExpectEntryNotWritten();
    }
    ExpectRetrySucceeds(dictionaryBytes);
}

TEST_F(FailingAppend, FileMadeReadOnlyWhileTheProgramRuns)
{
    StartWithDictionary();
    // The attribute can change under the program's handle: it asks for no
    // data access, so the share mode does not stop it.
    ASSERT_TRUE(SetFileAttributesA(PathOf("GerEng.dat").c_str(), FILE_ATTRIBUTE_READONLY));
    EnterNewEntry();
    ExpectEntryNotWritten();
    ExpectReopenRefused();
    SetFileAttributesA(PathOf("GerEng.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFile("GerEng.dat"), dictionaryBytes);
    ExpectRetrySucceeds(dictionaryBytes);
}

TEST_F(FailingAppend, FileDeletedBetweenTheCloseAndTheWrite)
{
    StartWithDictionary();
    // While the program holds the file, it cannot be deleted at all.
    EXPECT_FALSE(DeleteFileA(PathOf("GerEng.dat").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));

    CreateFileAPatch patch;
    ASSERT_TRUE(patch.Active());
    beforeAppendOpen = [] { DeleteFileA("GerEng.dat"); };
    EnterNewEntry();
    EXPECT_TRUE(dictionaryClosedAtAppendOpen) << "the program lets go of the file before it writes";
    ExpectEntryNotWritten();
    ExpectReopenRefused();
    EXPECT_FALSE(FileExists("GerEng.dat")) << "the append does not make a new file";
    EXPECT_TRUE(Search("xy").empty());
}

TEST_F(FailingAppend, FileTakenByAnotherProgramBetweenTheCloseAndTheWrite)
{
    StartWithDictionary();
    CreateFileAPatch patch;
    ASSERT_TRUE(patch.Active());
    beforeAppendOpen = [] {
        heldElsewhere = realCreateFileA("GerEng.dat", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    EnterNewEntry();
    ASSERT_NE(heldElsewhere, INVALID_HANDLE_VALUE) << "the file was free between the close and the write";
    EXPECT_TRUE(dictionaryClosedAtAppendOpen);
    ExpectEntryNotWritten();
    ExpectReopenRefused();

    CloseHandle(heldElsewhere);
    heldElsewhere = INVALID_HANDLE_VALUE;
    EXPECT_EQ(ReadFile("GerEng.dat"), dictionaryBytes);
    ExpectRetrySucceeds(dictionaryBytes);
}

// After the disk filled up, a later call of the append fails for a reason
// of its own: what the user is told must come from the first.
using GetFileSizeExFunction = BOOL(WINAPI*)(HANDLE, PLARGE_INTEGER);
GetFileSizeExFunction realGetFileSizeEx = nullptr;
int sizeCallsFailed = 0;

BOOL WINAPI GetFileSizeExAfterAFailedWrite(HANDLE file, PLARGE_INTEGER size)
{
    if (ShortWrites::FailedWrites() > 0 && sizeCallsFailed == 0) {
        ++sizeCallsFailed;
        SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    }
    return realGetFileSizeEx(file, size);
}

bool SaysTheDiskIsFull(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    const size_t disk = text.find("disk");
    return disk != std::string::npos && text.find("full", disk) != std::string::npos &&
           text.find("read-only") == std::string::npos;
}

// A full disk takes part of the line with success and fails the write of
// the rest. The user is told that the disk is full, not of causes that are
// not there; the part written is cut off again, and the entry goes in once
// there is space.
TEST_F(FailingAppend, FullDiskIsNamedAndTheEntryGoesInOnceThereIsSpace)
{
    StartWithDictionary();
    for (DWORD error : {ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL}) {
        SCOPED_TRACE(error);
        boxes.Clear();
        sizeCallsFailed = 0;
        {
            ShortWrites fullDisk(10, error);
            ImportPatch laterFailure("kernel32.dll", "GetFileSizeEx",
                                     reinterpret_cast<void*>(GetFileSizeExAfterAFailedWrite));
            ASSERT_TRUE(laterFailure.Active());
            realGetFileSizeEx = reinterpret_cast<GetFileSizeExFunction>(laterFailure.Original());
            EnterNewEntry();
            EXPECT_EQ(ShortWrites::FailedWrites(), 1) << "the rest of the line is written after the short write";
            EXPECT_EQ(sizeCallsFailed, 1);
        }
        ASSERT_EQ(boxes.Seen().size(), 1u);
        EXPECT_EQ(boxes.Seen()[0].caption, kErrorCaption);
        EXPECT_TRUE(SaysTheDiskIsFull(boxes.Seen()[0].text)) << boxes.Seen()[0].text;
        EXPECT_EQ(boxes.Seen()[0].owner, app.addWordDialog);
        EXPECT_EQ(EditText(app.addWordDialog, IDC_ENTRY_EDIT), kNewEntry);
        EXPECT_EQ(app.dictionary.fileSize, dictionaryBytes.size()) << "the ten bytes written are cut off again";
    }
    EXPECT_FALSE(SaysTheDiskIsFull(kEntryNotWrittenMessage)) << "the test tells the texts apart";
    ExpectRetrySucceeds(dictionaryBytes);
}

// Another program changes the dictionary in the moment the program has let
// go of it to append: an editor that saves by renaming puts another file in
// its place, one that saves in place rewrites it before the append, or
// after it. The list found in the old bytes must not be drawn from the new
// ones at the old offsets.
const std::string kReplacement = "GerEng Data Starts Here:\r\n" + FixedLine("ob {adj}", "ob") +
                                 FixedLine("Xenophobie", "xenophobia") + FixedLine("Hund", "dog") +
                                 FixedLine("Katze", "cat");
const std::string kShrunk = "GerEng Data Starts Here:\r\n" + FixedLine("ob {adj}", "ob");

// Rewrites GerEng.dat in place: the same file, other bytes.
void RewriteInPlace(const std::string& bytes)
{
    HANDLE file = realCreateFileA("GerEng.dat", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
    DWORD written = 0;
    fileChanged = file != INVALID_HANDLE_VALUE &&
                           WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                           SetEndOfFile(file);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

void ReplaceByRename()
{
    std::ofstream("replacement.dat", std::ios::binary) << kReplacement;
    fileChanged = MoveFileExA("replacement.dat", "GerEng.dat", MOVEFILE_REPLACE_EXISTING) != FALSE;
}

TEST_F(FailingAppend, FileChangedAroundTheAppendShowsNoRowOfTheNewFile)
{
    const struct {
        const char* how;
        void (*change)();
        std::string after; // the file once the program is closed
    } cases[] = {
        {"replaced by a rename before the append: another file", ReplaceByRename, kReplacement + NewEntryLine()},
        {"replaced by a rename after the append: another file than the one appended to",
         [] { beforeAppendOpen = ReplaceByRename; }, kReplacement},
        {"rewritten in place before the append: the size it was appended at is not the list's",
         [] { RewriteInPlace(kReplacement); }, kReplacement + NewEntryLine()},
        {"cut short in place after the append: the same file, smaller than the list's",
         [] { beforeAppendOpen = [] { RewriteInPlace(kShrunk); }; }, kShrunk},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        Stop();
        StartWithDictionary();
        ASSERT_EQ(Rows(), std::vector<std::string>({Row("xylophon", "xylophone")}));
        CreateFileAPatch patch;
        ASSERT_TRUE(patch.Active());
        fileChanged = false;
        beforeAppendOpen = c.change;
        EnterNewEntry();
        Pump();
        ASSERT_TRUE(fileChanged);
        EXPECT_TRUE(boxes.Seen().empty());
        EXPECT_EQ(EditText(app.addWordDialog, IDC_ENTRY_EDIT), "");
        EXPECT_TRUE(Rows().empty()) << "no row of the new file before the next search";
        EXPECT_EQ(ScrollInfo().nMax, 0);
        EXPECT_EQ(Search("ob"), std::vector<std::string>({Row("ob {adj}", "ob")})) << "the new file's own header";
        CloseProgram();
        EXPECT_EQ(ReadFile("GerEng.dat"), c.after);
    }
}

} // namespace
