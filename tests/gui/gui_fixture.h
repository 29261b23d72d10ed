// Starts the real program in this process, in a folder of its own with the
// dictionaries a test asks for, and takes it down again afterwards. Message
// boxes are answered from a CBT hook and their texts recorded.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "../common/dictionary_lines.h"
#include "state/app_state.h"
#include "windows/dialog_templates.h"

struct MessageBoxSeen {
    std::string caption;
    std::string text;
    HWND owner;
};

class MessageBoxAnswerer {
public:
    MessageBoxAnswerer();
    ~MessageBoxAnswerer();
    // Answers for the coming boxes, in order; when none is left, IDOK for an
    // OK box and IDNO otherwise.
    void Answer(std::vector<int> answers) { answers_ = std::move(answers); }
    // Runs once when the next box comes up, before it is answered: what a
    // user does elsewhere while a box waits.
    void WhileUp(std::function<void()> action) { whileUp_ = std::move(action); }
    const std::vector<MessageBoxSeen>& Seen() const { return seen_; }
    void Clear() { seen_.clear(); }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK hook_;
    std::vector<int> answers_;
    std::vector<MessageBoxSeen> seen_;
    std::function<void()> whileUp_;
    static MessageBoxAnswerer* current_;
};

// Puts a function of the test's own in the place of one of this
// executable's imports, for as long as it lives. The program's code is
// linked into the test, so its calls go through that slot: the test can act
// at the exact moment of a call, or stand in for a call that Wine only
// stubs. The replacement must have the import's calling convention.
class ImportPatch {
public:
    ImportPatch(const char* dll, const char* function, void* replacement);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;
    bool Active() const { return slot_ != nullptr; }
    void* Original() const { return original_; }

private:
    void Write(void* value);
    void** slot_;
    void* original_ = nullptr;
};

// One text the result list drew, where it drew it.
struct ListTextSeen {
    int x;
    int y;
    std::string text;
    const char* address; // where in memory the painter read it
};

inline bool operator==(const ListTextSeen& a, const ListTextSeen& b)
{
    return a.x == b.x && a.y == b.y && a.text == b.text;
}
void PrintTo(const ListTextSeen& drawn, std::ostream* out);

// Records every text the result list draws, for as long as it lives: the
// program's TextOutA calls into the main window, seen through its import.
// One made while another lives takes over until it ends.
class ListTextRecorder {
public:
    ListTextRecorder();
    ~ListTextRecorder();
    ListTextRecorder(const ListTextRecorder&) = delete;
    ListTextRecorder& operator=(const ListTextRecorder&) = delete;
    const std::vector<ListTextSeen>& Texts() const { return texts_; }
    void Clear() { texts_.clear(); }

private:
    static BOOL WINAPI RecordingTextOut(HDC dc, int x, int y, LPCSTR text, int length);
    std::vector<ListTextSeen> texts_;
    ListTextRecorder* previous_;
    ImportPatch patch_;
    static ListTextRecorder* current_;
    static void* realTextOut_;
};

// Makes the disk under the program's writes fill up, for as long as it
// lives, the way a real one does: room more bytes fit, so a write that asks
// for more takes what fits and reports success, and the next write fails
// with error (on Windows, ERROR_DISK_FULL). A negative room leaves the
// writes alone. FailedWrites() counts the writes it failed.
class ShortWrites {
public:
    explicit ShortWrites(int32_t room, DWORD error = ERROR_WRITE_FAULT);
    ~ShortWrites();
    ShortWrites(const ShortWrites&) = delete;
    ShortWrites& operator=(const ShortWrites&) = delete;
    static int FailedWrites() { return failed_; }

private:
    static BOOL WINAPI LimitedWriteFile(HANDLE file, LPCVOID bytes, DWORD length, LPDWORD written,
                                        LPOVERLAPPED overlapped);
    ImportPatch patch_;
    static int32_t room_;
    static DWORD error_;
    static int failed_;
    static void* original_;
};

// Repaints the whole main window now and returns what the list drew.
std::vector<ListTextSeen> RepaintList();

std::string Blanks(size_t count);

// The row pitch of the list, measured the way a user's screen sets it: the
// font a fresh device context of the main window carries, not the list's own.
int WindowFontHeight();

// Pixels as 0x00RRGGBB, row by row from the top.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> bits;
    uint32_t At(int x, int y) const { return bits[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
};

// What the window's client area shows now, read back through its own DC.
Pixels ClientPixels(HWND window);
// What the menu bar shows of its item at position, read through the
// window's own DC.
Pixels MenuBarItemPixels(HWND window, int position);
uint32_t AsPixel(COLORREF c);
// Pixels in rows [top, bottom) that are not of the given colour.
int PixelsNotOf(const Pixels& p, uint32_t colour, int top, int bottom);

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a file into the program's folder.
    void WriteFile(const std::string& name, const std::string& bytes);
    std::string ReadFile(const std::string& name) const;
    bool FileExists(const std::string& name) const;
    void RemoveFile(const std::string& name);

    // Runs the program's start-up with the files written so far.
    void Start();
    // Takes the running program down as the end of a test does, but keeps
    // the folder and its files, so a test can start the program again.
    void Stop();
    // Rows per page of the list on this desktop, measured once per process
    // by a start with a one-line dictionary (the window's size does not
    // depend on the data). Call before writing the test's own files.
    int MeasurePageRows();
    // Handles every waiting message the way the program's loop does.
    void Pump();
    // A key as the loop sees it: a key-down for the window with the focus.
    void Key(UINT virtualKey);
    void KeyTo(HWND window, UINT virtualKey);
    // Types text into the window with the focus, as characters.
    void Type(const std::string& text);
    void Command(WPARAM id);

    UINT MenuState(UINT id) const; // MF_GRAYED etc. by command
    bool Grayed(UINT id) const { return (MenuState(id) & MF_GRAYED) != 0; }
    std::string Text(HWND window) const;
    std::string EditText(HWND dialog, int id) const;
    SCROLLINFO ScrollInfo() const;

    MessageBoxAnswerer boxes;
    std::string folder;
    bool quitPosted = false;
};
