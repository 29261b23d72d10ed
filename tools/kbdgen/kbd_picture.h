// Drawing of the three German (Germany) keyboard layout pictures and their
// encoding as 24-bit Windows bitmaps. The program's keyboard picture windows
// blit these bitmaps from the resources unchanged, so everything about their
// look is decided here and re-made by vokabix-kbdgen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kbdgen {

enum class Layout { Normal, Shift, AltGr };
constexpr Layout kAllLayouts[] = {Layout::Normal, Layout::Shift, Layout::AltGr};

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb& other) const {
        return r == other.r && g == other.g && b == other.b;
    }
    bool operator!=(const Rgb& other) const { return !(*this == other); }
};

// Picture colours, shared with the tests so they can tell key from background.
constexpr Rgb kBackground{176, 176, 176};
constexpr Rgb kKeyOutline{40, 40, 40};
constexpr Rgb kCharacterFace{250, 250, 250};
constexpr Rgb kFunctionFace{218, 218, 218};
constexpr Rgb kHeldFace{255, 224, 128};
constexpr Rgb kInk{0, 0, 0};
constexpr Rgb kDimInk{150, 150, 150};

// Top-down, row-major picture.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Image(int w, int h, Rgb fill)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}
    Rgb& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    const Rgb& At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * width + x];
    }
};

enum class KeyKind {
    Character,  // gives a character in each layout (maybe none with AltGr)
    Function,   // Tab, Enter, Strg ...: the same label in every picture
    Shift,      // drawn held down in the Shift picture
    AltGr,      // drawn held down in the AltGr picture
};

// One key of the main block. Positions and widths are in quarters of a
// standard key so the odd ISO widths (1.25, 1.75, 2.75) stay exact.
struct KeyDef {
    int row;          // 0 = number row ... 4 = space bar row
    int x4;           // left edge
    int w4;           // width
    const char* normal;  // Windows-1252 labels; "" draws no label
    const char* shift;
    const char* altGr;   // "" on a character key: no AltGr character
    KeyKind kind;
    int lowerX4 = 0;  // the ISO Enter key reaches into the next row with
    int lowerW4 = 0;  // this span; 0 for every other key
};

struct Rect {
    int x, y, w, h;
};

const std::vector<KeyDef>& GermanKeys();

// Pixel rectangle of a key's own row, outline included; the label is
// centred in it.
Rect KeyRect(const KeyDef& key);

// The label a key shows in a layout.
const char* KeyLabel(const KeyDef& key, Layout layout);

int PictureWidth(Layout layout);
int PictureHeight(Layout layout);
const char* PictureFileName(Layout layout);

// Pixel width of a label drawn with the embedded font; -1 if a character of
// it has no glyph.
int LabelWidth(const std::string& label);

Image RenderLayout(Layout layout);

// Complete .bmp file: BITMAPFILEHEADER, BITMAPINFOHEADER (24 bpp, BI_RGB),
// bottom-up rows padded to four bytes.
std::vector<std::uint8_t> EncodeBmp(const Image& image);

// Writes the three pictures into `directory`; on failure returns false and
// says why in `error`.
bool WritePictures(const std::string& directory, std::string* error);

}  // namespace kbdgen
