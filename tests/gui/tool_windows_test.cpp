// The keyboard picture windows and the About window, driven through the
// main window's menu commands as a user would open them.
#include "gui_fixture.h"

#include "../common/top_down_dib.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "windows/about_window.h"

namespace {

struct Layout {
    UINT command;
    int bitmap;
    const char* title;
};

const Layout kLayouts[] = {
    {IDM_KBD_NORMAL, IDB_KBD_NORMAL, "Normal German Keyboard Layout"},
    {IDM_KBD_SHIFT, IDB_KBD_SHIFT, "German Keyboard Layout - SHIFT held down"},
    {IDM_KBD_ALT, IDB_KBD_ALT, "German Keyboard Layout - ALT held down."},
};

// The pixels of a bitmap resource of this program, as drawn from the file.
Pixels ResourcePixels(int id)
{
    Pixels p;
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    if (bitmap == nullptr)
        return p;
    BITMAP shape{};
    GetObjectA(bitmap, sizeof(shape), &shape);
    p.width = shape.bmWidth;
    p.height = shape.bmHeight;
    p.bits.resize(static_cast<size_t>(p.width) * p.height);
    BITMAPINFO info = TopDown32(p.width, p.height);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(p.height), p.bits.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return p;
}

// Pixels of the picture that differ on screen; the compared area is the part
// of the picture that the client area can show.
int PictureMismatches(const Pixels& screen, const Pixels& picture)
{
    int wrong = 0;
    for (int y = 0; y < picture.height && y < screen.height; ++y)
        for (int x = 0; x < picture.width && x < screen.width; ++x)
            if (screen.At(x, y) != picture.At(x, y))
                ++wrong;
    return wrong;
}

int DistinctColours(const Pixels& p)
{
    std::vector<uint32_t> seen;
    for (int y = 0; y < p.height; y += 5)
        for (int x = 0; x < p.width; x += 5) {
            const uint32_t c = p.At(x, y);
            bool known = false;
            for (uint32_t s : seen)
                known = known || s == c;
            if (!known)
                seen.push_back(c);
        }
    return static_cast<int>(seen.size());
}

int PixelsOf(const Pixels& p, uint32_t colour, int top, int bottom)
{
    const int rows = (bottom < p.height ? bottom : p.height) - top;
    return rows * p.width - PixelsNotOf(p, colour, top, bottom);
}


class KeyboardPictures : public ProgramTest {
protected:
    void StartProgram()
    {
        // More hits than a page: activating the main window then leaves the
        // keys with the list, so a focus handed back to it stays there. (With
        // a short list the activation passes them on to the search dialog.)
        WriteFile("GerEng.dat", GerEngFile(NumberedLines("xa", 30)));
        Start();
        ASSERT_EQ(app.refocusWindow, app.mainWindow);
    }

    // Gives the keys to a picture, as a click on it would.
    void FocusPicture(HWND window)
    {
        SetFocus(window);
        ASSERT_EQ(GetFocus(), window);
    }

    HWND Open(const Layout& layout)
    {
        Command(layout.command);
        return FindWindowA("ShowKbd Class", layout.title);
    }

    void ExpectOnlyOpen(const std::vector<const Layout*>& open)
    {
        for (const Layout& layout : kLayouts) {
            bool shouldBeOpen = false;
            for (const Layout* o : open)
                shouldBeOpen = shouldBeOpen || o == &layout;
            SCOPED_TRACE(layout.title);
            EXPECT_EQ(Grayed(layout.command), shouldBeOpen);
            EXPECT_EQ(FindWindowA("ShowKbd Class", layout.title) != nullptr, shouldBeOpen);
        }
    }
};

void ExpectPictureWindowPlace(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 400);
    EXPECT_EQ(r.top, 140);
    EXPECT_EQ(r.right - r.left, 350);
    EXPECT_EQ(r.bottom - r.top, 150);
}

TEST_F(KeyboardPictures, EachCommandOpensItsTitledWindowAtTheSamePlaceAndGraysOnlyItsItem)
{
    StartProgram();
    ExpectOnlyOpen({});
    std::vector<HWND> windows;
    std::vector<const Layout*> soFar;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(kLayouts[i].title);
        HWND window = Open(kLayouts[i]);
        ASSERT_NE(window, nullptr) << "no \"ShowKbd Class\" window with this exact title";
        EXPECT_TRUE(IsWindowVisible(window));
        ExpectPictureWindowPlace(window);
        soFar.push_back(&kLayouts[i]);
        ExpectOnlyOpen(soFar);
        windows.push_back(window);
    }
    // All three are open at once, each a window of its own.
    EXPECT_NE(windows[0], windows[1]);
    EXPECT_NE(windows[1], windows[2]);
    EXPECT_NE(windows[0], windows[2]);
    for (HWND window : windows)
        EXPECT_TRUE(IsWindow(window));
}

TEST_F(KeyboardPictures, EachWindowShowsItsOwnPictureWhenOpenedAndWhenUncovered)
{
    StartProgram();
    Pixels pictures[3];
    for (int i = 0; i < 3; ++i) {
        pictures[i] = ResourcePixels(kLayouts[i].bitmap);
        ASSERT_GE(pictures[i].width, 328);
        ASSERT_GE(pictures[i].height, 110);
        // A one-coloured picture would match an empty window by chance.
        EXPECT_GT(DistinctColours(pictures[i]), 2) << kLayouts[i].title;
    }
    EXPECT_GT(PictureMismatches(pictures[0], pictures[1]), 0) << "normal and Shift pictures are the same";
    EXPECT_GT(PictureMismatches(pictures[0], pictures[2]), 0) << "normal and Alt pictures are the same";
    EXPECT_GT(PictureMismatches(pictures[1], pictures[2]), 0) << "Shift and Alt pictures are the same";

    HWND windows[3];
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(kLayouts[i].title);
        windows[i] = Open(kLayouts[i]);
        ASSERT_NE(windows[i], nullptr);
        const Pixels shown = ClientPixels(windows[i]);
        ASSERT_GE(shown.width, 328) << "the client area is too narrow for the picture";
        ASSERT_GE(shown.height, 110) << "the client area is too low for the picture";
        EXPECT_EQ(PictureMismatches(shown, pictures[i]), 0);
        // Beside and below the picture: its own background, not what the
        // screen showed there before the window came.
        const uint32_t background = pictures[i].At(0, 0);
        int stray = 0;
        for (int y = 0; y < shown.height; ++y)
            for (int x = 0; x < shown.width; ++x)
                if ((x >= pictures[i].width || y >= pictures[i].height) && shown.At(x, y) != background)
                    ++stray;
        EXPECT_EQ(stray, 0);
    }

    // The three lie on top of each other; bringing one up repaints it with
    // its own picture, not with the one opened last.
    for (int i : {0, 2, 1, 0}) {
        SCOPED_TRACE(kLayouts[i].title);
        SetWindowPos(windows[i], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        InvalidateRect(windows[i], nullptr, FALSE);
        Pump();
        EXPECT_EQ(PictureMismatches(ClientPixels(windows[i]), pictures[i]), 0);
    }
}

TEST_F(KeyboardPictures, EscapeClosesTheWindowEnablesItsItemAndFocusesTheMainWindow)
{
    StartProgram();
    HWND normal = Open(kLayouts[0]);
    HWND shift = Open(kLayouts[1]);
    ASSERT_NE(normal, nullptr);
    ASSERT_NE(shift, nullptr);
    FocusPicture(normal);

    KeyTo(normal, VK_ESCAPE);
    EXPECT_FALSE(IsWindow(normal));
    EXPECT_EQ(GetFocus(), app.mainWindow);
    ExpectOnlyOpen({&kLayouts[1]});
    EXPECT_TRUE(IsWindow(shift)) << "Escape closes only the picture it was typed in";
    EXPECT_TRUE(boxes.Seen().empty()) << "Escape must not reach the main window's exit question";
    EXPECT_FALSE(quitPosted);
}

TEST_F(KeyboardPictures, TabOnlyHandsTheFocusToTheMainWindow)
{
    StartProgram();
    HWND alt = Open(kLayouts[2]);
    ASSERT_NE(alt, nullptr);
    FocusPicture(alt);
    KeyTo(alt, VK_TAB);
    EXPECT_EQ(GetFocus(), app.mainWindow);
    EXPECT_TRUE(IsWindow(alt));
    EXPECT_TRUE(IsWindowVisible(alt));
    ExpectOnlyOpen({&kLayouts[2]});
}

TEST_F(KeyboardPictures, TheCloseBoxClosesLikeEscape)
{
    StartProgram();
    HWND shift = Open(kLayouts[1]);
    HWND alt = Open(kLayouts[2]);
    ASSERT_NE(shift, nullptr);
    FocusPicture(shift);
    SendMessageA(shift, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindow(shift));
    EXPECT_EQ(GetFocus(), app.mainWindow);
    ExpectOnlyOpen({&kLayouts[2]});
    EXPECT_TRUE(IsWindow(alt));
}

TEST_F(KeyboardPictures, ReopeningAfterClosingCreatesANewWindowInTheSamePlace)
{
    StartProgram();
    const Pixels picture = ResourcePixels(IDB_KBD_SHIFT);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        HWND first = Open(kLayouts[1]);
        ASSERT_NE(first, nullptr);
        KeyTo(first, VK_ESCAPE);
        ASSERT_FALSE(IsWindow(first));
        ASSERT_FALSE(Grayed(IDM_KBD_SHIFT));

        HWND again = Open(kLayouts[1]);
        ASSERT_NE(again, nullptr);
        EXPECT_NE(again, first);
        ExpectPictureWindowPlace(again);
        EXPECT_TRUE(Grayed(IDM_KBD_SHIFT));
        // The bitmap is loaded again for the new window and still painted.
        EXPECT_EQ(PictureMismatches(ClientPixels(again), picture), 0);
        SendMessageA(again, WM_CLOSE, 0, 0);
        Pump();
        ASSERT_FALSE(IsWindow(again));
    }
}

// --- About window ------------------------------------------------------------

std::string Padded(const std::string& text)
{
    return text + std::string(62 - text.size(), ' ');
}

class AboutWindow : public ProgramTest {
protected:
    HWND OpenAbout()
    {
        Command(IDM_ABOUT);
        return FindWindowA("About Class", "About Vokabix");
    }
};

TEST_F(AboutWindow, OpensWithItsCaptionAtItsPlaceAndLeavesTheItemEnabled)
{
    WriteFile("GerEng.dat", GerEngFile(NumberedLines("xa", 2)));
    Start();
    HWND about = OpenAbout();
    ASSERT_NE(about, nullptr) << "no \"About Class\" window captioned \"About Vokabix\"";
    EXPECT_TRUE(IsWindowVisible(about));
    RECT r{};
    GetWindowRect(about, &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, 360);
    EXPECT_EQ(r.bottom - r.top, 230);
    EXPECT_FALSE(Grayed(IDM_ABOUT));
}

TEST_F(AboutWindow, TextIsTwelveFullLinesWithTheFixedWordingAndLabelForm)
{
    for (int line = 0; line < kAboutLines; ++line)
        EXPECT_EQ(std::strlen(kAboutText[line]), 62u) << "line " << line;

    EXPECT_EQ(kAboutText[0], Padded("       Vokabix      Version. 1.3."));
    EXPECT_EQ(kAboutText[1], Padded("A German < > English  Dictionary"));
    EXPECT_EQ(kAboutText[2], Padded("German > English Module Done 08/30/07"));
    EXPECT_EQ(kAboutText[3], Padded("English > German Module Expected by Spring 2009"));
    EXPECT_EQ(kAboutText[11], Padded("Last Update : December 29, 2008"));

    // Lines 4 to 10: a label in a field of ten, or ten blanks where a line
    // goes on with the value above, then ": " and the value.
    const bool continuation[] = {false, true, false, false, false, false, true};
    for (int line = 4; line <= 10; ++line) {
        SCOPED_TRACE("line " + std::to_string(line) + ": " + kAboutText[line]);
        const std::string text = kAboutText[line];
        const std::string field = text.substr(0, 10);
        if (continuation[line - 4]) {
            EXPECT_EQ(field, std::string(10, ' '));
        } else {
            EXPECT_NE(field[0], ' ') << "a label starts at the left of its field";
        }
        EXPECT_EQ(text.substr(10, 2), ": ");
        EXPECT_NE(text[12], ' ') << "the value follows the blank";
    }
    EXPECT_NE(std::string(kAboutText[4]).find("Microsoft Windows"), std::string::npos);
}

TEST_F(AboutWindow, TheTextIsOnScreenRightAfterOpeningAndAfterEveryRepaint)
{
    WriteFile("GerEng.dat", GerEngFile(NumberedLines("xa", 2)));
    Start();
    SendMessageA(app.mainWindow, WM_COMMAND, IDM_ABOUT, 0);
    HWND about = FindWindowA("About Class", "About Vokabix");
    ASSERT_NE(about, nullptr);
    const uint32_t background = AsPixel(GetSysColor(COLOR_INACTIVECAPTION));

    // The second look follows a repaint, as covering the window or a theme
    // change brings one.
    for (const char* when : {"after opening", "after a repaint"}) {
        SCOPED_TRACE(when);
        const Pixels shown = ClientPixels(about);
        ASSERT_GT(shown.height, 60);
        EXPECT_GT(PixelsNotOf(shown, background, 5, 23), 50) << "no title line at y 5";
        EXPECT_EQ(PixelsNotOf(shown, background, 25, 33), 0) << "the gap under the title stays background";
        EXPECT_GT(PixelsNotOf(shown, background, 35, 50), 50) << "no first body line at y 35";
        EXPECT_GT(PixelsNotOf(shown, background, 110, 125), 50) << "no body line at y 110";
        EXPECT_GT(PixelsOf(shown, 0x000000, 35, 50), 0) << "the body is drawn in black";
        RedrawWindow(about, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        Pump();
    }
}

TEST_F(AboutWindow, EscapeClosesItAndOtherKeysDoNothing)
{
    WriteFile("GerEng.dat", GerEngFile(NumberedLines("xa", 2)));
    Start();
    HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    SetFocus(about);
    for (UINT key : {static_cast<UINT>('A'), static_cast<UINT>(VK_TAB), static_cast<UINT>(VK_F4),
                     static_cast<UINT>(VK_RETURN)}) {
        KeyTo(about, key);
        EXPECT_TRUE(IsWindow(about)) << "key " << key;
    }
    EXPECT_FALSE(app.strongs.loaded) << "F4 in the About window is not the main window's F4";
    KeyTo(about, VK_ESCAPE);
    EXPECT_FALSE(IsWindow(about));
    EXPECT_TRUE(boxes.Seen().empty()) << "Escape must not reach the main window's exit question";
    EXPECT_FALSE(quitPosted);
    EXPECT_TRUE(IsWindow(app.mainWindow));
}

TEST_F(AboutWindow, SeveralCanBeOpenAndEscapeClosesTheOneItWasTypedIn)
{
    WriteFile("GerEng.dat", GerEngFile(NumberedLines("xa", 2)));
    Start();
    HWND first = OpenAbout();
    HWND second = OpenAbout();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(first, second) << "the About item stays enabled, so a second window opens";
    KeyTo(first, VK_ESCAPE);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(IsWindow(second));
    KeyTo(second, VK_ESCAPE);
    EXPECT_FALSE(IsWindow(second));
}

} // namespace
