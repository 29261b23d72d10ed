#include "gui_fixture.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "../common/temp_folder.h"
#include "../common/top_down_dib.h"
#include "shell/main_window.h"
#include "shell/startup.h"
#include "windows/german_keyboard.h"

MessageBoxAnswerer* MessageBoxAnswerer::current_ = nullptr;
ListTextRecorder* ListTextRecorder::current_ = nullptr;
void* ListTextRecorder::realTextOut_ = nullptr;

ListTextRecorder::ListTextRecorder()
    : previous_(current_), patch_("gdi32.dll", "TextOutA", reinterpret_cast<void*>(RecordingTextOut))
{
    EXPECT_TRUE(patch_.Active());
    // An inner recorder's patch holds the outer one's stand-in as the
    // original; only the outermost holds the real call.
    if (previous_ == nullptr)
        realTextOut_ = patch_.Original();
    current_ = this;
}

ListTextRecorder::~ListTextRecorder()
{
    current_ = previous_;
}

int32_t ShortWrites::room_ = -1;
DWORD ShortWrites::error_ = 0;
int ShortWrites::failed_ = 0;
void* ShortWrites::original_ = nullptr;

ShortWrites::ShortWrites(int32_t room, DWORD error)
    : patch_("kernel32.dll", "WriteFile", reinterpret_cast<void*>(LimitedWriteFile))
{
    EXPECT_TRUE(patch_.Active());
    room_ = room;
    error_ = error;
    failed_ = 0;
    original_ = patch_.Original();
}

ShortWrites::~ShortWrites()
{
    room_ = -1;
}

BOOL WINAPI ShortWrites::LimitedWriteFile(HANDLE file, LPCVOID bytes, DWORD length, LPDWORD written,
                                          LPOVERLAPPED overlapped)
{
    using WriteFileFunction = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
    const auto real = reinterpret_cast<WriteFileFunction>(original_);
    if (room_ < 0 || length == 0)
        return real(file, bytes, length, written, overlapped);
    if (room_ == 0) {
        if (written != nullptr)
            *written = 0;
        ++failed_;
        SetLastError(error_);
        return FALSE;
    }
    const DWORD fits = length < static_cast<DWORD>(room_) ? length : static_cast<DWORD>(room_);
    DWORD done = 0;
    const BOOL ok = real(file, bytes, fits, &done, overlapped);
    room_ -= static_cast<int32_t>(done);
    if (written != nullptr)
        *written = done;
    return ok;
}

int WindowFontHeight()
{
    HDC dc = GetDC(app.mainWindow);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    ReleaseDC(app.mainWindow, dc);
    return metrics.tmHeight;
}

void PrintTo(const ListTextSeen& drawn, std::ostream* out)
{
    *out << "(" << drawn.x << ", " << drawn.y << ", \"" << drawn.text << "\")";
}

BOOL WINAPI ListTextRecorder::RecordingTextOut(HDC dc, int x, int y, LPCSTR text, int length)
{
    using TextOutFunction = BOOL(WINAPI*)(HDC, int, int, LPCSTR, int);
    const BOOL drawn = reinterpret_cast<TextOutFunction>(realTextOut_)(dc, x, y, text, length);
    // The list is the one thing the program draws text into in the main
    // window; the About window draws into its own.
    if (WindowFromDC(dc) == app.mainWindow)
        current_->texts_.push_back({x, y, std::string(text, static_cast<size_t>(length)), text});
    return drawn;
}

MessageBoxAnswerer::MessageBoxAnswerer()
{
    current_ = this;
    hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

MessageBoxAnswerer::~MessageBoxAnswerer()
{
    UnhookWindowsHookEx(hook_);
    current_ = nullptr;
}

LRESULT CALLBACK MessageBoxAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && current_ != nullptr) {
        HWND box = reinterpret_cast<HWND>(wParam);
        char className[32] = {};
        GetClassNameA(box, className, sizeof(className));
        if (std::string(className) == "#32770" && GetDlgItem(box, 0xFFFF) != nullptr) {
            char caption[256] = {};
            char text[1024] = {};
            GetWindowTextA(box, caption, sizeof(caption));
            GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
            current_->seen_.push_back({caption, text, GetWindow(box, GW_OWNER)});
            if (current_->whileUp_) {
                const std::function<void()> action = std::move(current_->whileUp_);
                current_->whileUp_ = nullptr;
                action();
            }
            int answer = GetDlgItem(box, IDNO) != nullptr ? IDNO : IDOK;
            if (!current_->answers_.empty()) {
                answer = current_->answers_.front();
                current_->answers_.erase(current_->answers_.begin());
            }
            PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<ListTextSeen> RepaintList()
{
    ListTextRecorder recorder;
    InvalidateRect(app.mainWindow, nullptr, TRUE);
    UpdateWindow(app.mainWindow);
    return recorder.Texts();
}

std::string Blanks(size_t count)
{
    return std::string(count, ' ');
}

namespace {

// A rectangle of what a device context shows, read back.
Pixels CapturePixels(HDC dc, int left, int top, int width, int height)
{
    Pixels p;
    p.width = width;
    p.height = height;
    if (p.width <= 0 || p.height <= 0)
        return p;
    BITMAPINFO info = TopDown32(p.width, p.height);
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, section);
    BitBlt(memory, 0, 0, p.width, p.height, dc, left, top, SRCCOPY);
    GdiFlush();
    p.bits.assign(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + p.width * p.height);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(section);
    return p;
}

} // namespace

Pixels ClientPixels(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    Pixels p = CapturePixels(dc, 0, 0, client.right, client.bottom);
    ReleaseDC(window, dc);
    return p;
}

Pixels MenuBarItemPixels(HWND window, int position)
{
    RECT item{};
    RECT frame{};
    if (!GetMenuItemRect(window, GetMenu(window), static_cast<UINT>(position), &item) ||
        !GetWindowRect(window, &frame))
        return Pixels{};
    HDC dc = GetWindowDC(window);
    Pixels p = CapturePixels(dc, item.left - frame.left, item.top - frame.top, item.right - item.left,
                             item.bottom - item.top);
    ReleaseDC(window, dc);
    return p;
}

uint32_t AsPixel(COLORREF c)
{
    return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

int PixelsNotOf(const Pixels& p, uint32_t colour, int top, int bottom)
{
    int count = 0;
    for (int y = top; y < bottom && y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.At(x, y) != colour)
                ++count;
    return count;
}

namespace {

void** ImportSlot(HMODULE module, const char* dll, const char* function)
{
    auto* base = reinterpret_cast<unsigned char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name != 0;
         ++d) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0)
            continue;
        const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

} // namespace

ImportPatch::ImportPatch(const char* dll, const char* function, void* replacement)
    : slot_(ImportSlot(GetModuleHandleA(nullptr), dll, function))
{
    if (slot_ == nullptr)
        return;
    original_ = *slot_;
    Write(replacement);
}

ImportPatch::~ImportPatch()
{
    if (slot_ != nullptr)
        Write(original_);
}

void ImportPatch::Write(void* value)
{
    DWORD old = 0;
    VirtualProtect(slot_, sizeof(void*), PAGE_READWRITE, &old);
    *slot_ = value;
    VirtualProtect(slot_, sizeof(void*), old, &old);
}


void ProgramTest::SetUp()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = std::string(temp) + "vokabix-gui-" + info->test_suite_name() + "-" + info->name() + "-" +
             std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    SetCurrentDirectoryA(folder.c_str());
}

void ProgramTest::TearDown()
{
    Stop();

    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    SetCurrentDirectoryA(temp);
    RemoveFolderWithFiles(folder);
}

void ProgramTest::Stop()
{
    for (HWND window : app.pictures.windows)
        if (IsWindow(window))
            DestroyWindow(window);
    if (IsWindow(app.aboutWindow))
        DestroyWindow(app.aboutWindow);
    if (app.searchDialog != nullptr)
        DestroyWindow(app.searchDialog);
    if (app.addWordDialog != nullptr)
        DestroyWindow(app.addWordDialog);
    app.searchDialog = nullptr;
    app.addWordDialog = nullptr;
    if (app.mainWindow != nullptr)
        DestroyWindow(app.mainWindow);
    // The exit path leaves the four-column list open; the process would end
    // it, a test has to.
    if (app.strongs.loaded)
        CloseStrongsList();
    if (app.menu != nullptr)
        DestroyMenu(app.menu);
    RestoreKeyboardLayout();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        if (message.message == WM_QUIT)
            quitPosted = true;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    UnregisterClassA("Vokabix Class", instance);
    UnregisterClassA("About Class", instance);
    UnregisterClassA("ShowKbd Class", instance);
    UnregisterClassA("ShowKbd Class", nullptr);
    ResetAppState();
}

int ProgramTest::MeasurePageRows()
{
    static int page = -1;
    if (page < 0) {
        WriteFile("GerEng.dat", GerEngFile(FixedLine("xa", "t")));
        Start();
        page = PageRows(app.list);
        Stop();
        RemoveFile("GerEng.dat");
        boxes.Clear();
        // The quit belonged to the run just taken down.
        quitPosted = false;
    }
    return page;
}

void ProgramTest::WriteFile(const std::string& name, const std::string& bytes)
{
    std::ofstream(folder + "\\" + name, std::ios::binary) << bytes;
}

std::string ProgramTest::ReadFile(const std::string& name) const
{
    std::ifstream in(folder + "\\" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool ProgramTest::FileExists(const std::string& name) const
{
    return GetFileAttributesA((folder + "\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ProgramTest::RemoveFile(const std::string& name)
{
    DeleteFileA((folder + "\\" + name).c_str());
}

void ProgramTest::Start()
{
    StartUp(GetModuleHandleA(nullptr));
    Pump();
}

void ProgramTest::Pump()
{
    MSG message;
    for (int round = 0; round < 50; ++round) {
        bool any = false;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            if (message.message == WM_QUIT) {
                quitPosted = true;
                continue;
            }
            RouteMessage(message);
        }
        if (!any)
            break;
    }
}

void ProgramTest::KeyTo(HWND window, UINT virtualKey)
{
    MSG message{};
    message.hwnd = window;
    message.message = WM_KEYDOWN;
    message.wParam = virtualKey;
    message.lParam = 1;
    RouteMessage(message);
    Pump();
}

void ProgramTest::Key(UINT virtualKey)
{
    KeyTo(GetFocus(), virtualKey);
}

void ProgramTest::Type(const std::string& text)
{
    for (char c : text) {
        MSG message{};
        message.hwnd = GetFocus();
        message.message = WM_CHAR;
        message.wParam = static_cast<unsigned char>(c);
        message.lParam = 1;
        RouteMessage(message);
    }
    Pump();
}

void ProgramTest::Command(WPARAM id)
{
    SendMessageA(app.mainWindow, WM_COMMAND, id, 0);
    Pump();
}

UINT ProgramTest::MenuState(UINT id) const
{
    return GetMenuState(app.menu, id, MF_BYCOMMAND);
}

std::string ProgramTest::Text(HWND window) const
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

std::string ProgramTest::EditText(HWND dialog, int id) const
{
    char text[512] = {};
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

SCROLLINFO ProgramTest::ScrollInfo() const
{
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(app.mainWindow, SB_VERT, &info);
    return info;
}
