#include "kbd_picture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "kbd_font.h"

namespace kbdgen {
namespace {

// A standard key takes 20 pixels, a quarter 5. Keys are 19 pixels square
// with a 1 pixel gap: odd sizes let the mostly 5-pixel-wide glyphs and the
// 7-row capitals sit exactly in the middle of a key.
constexpr int kQuarterPx = 5;
constexpr int kPitchPx = 4 * kQuarterPx;
constexpr int kKeyGapPx = 1;
constexpr int kKeyHeightPx = kPitchPx - kKeyGapPx;

// The block is anchored at the same top-left offset in all three pictures
// (whose sizes differ by a pixel): their windows open at one place, so
// switching between them must not make the keys jump.
constexpr int kMarginLeftPx = 14;
constexpr int kMarginTopPx = 5;

constexpr KeyKind C = KeyKind::Character;
constexpr KeyKind F = KeyKind::Function;

const std::vector<KeyDef> kGermanKeys = {
    // Number row.
    {0, 0, 4, "^", "\xB0", "", C},
    {0, 4, 4, "1", "!", "", C},
    {0, 8, 4, "2", "\"", "\xB2", C},
    {0, 12, 4, "3", "\xA7", "\xB3", C},
    {0, 16, 4, "4", "$", "", C},
    {0, 20, 4, "5", "%", "", C},
    {0, 24, 4, "6", "&", "", C},
    {0, 28, 4, "7", "/", "{", C},
    {0, 32, 4, "8", "(", "[", C},
    {0, 36, 4, "9", ")", "]", C},
    {0, 40, 4, "0", "=", "}", C},
    {0, 44, 4, "\xDF", "?", "\\", C},
    {0, 48, 4, "\xB4", "`", "", C},
    {0, 52, 8, "\x03", "\x03", "\x03", F},
    // Top letter row; the ISO Enter key hangs down into the home row.
    {1, 0, 6, "Tab", "Tab", "Tab", F},
    {1, 6, 4, "q", "Q", "@", C},
    {1, 10, 4, "w", "W", "", C},
    {1, 14, 4, "e", "E", "\x80", C},
    {1, 18, 4, "r", "R", "", C},
    {1, 22, 4, "t", "T", "", C},
    {1, 26, 4, "z", "Z", "", C},
    {1, 30, 4, "u", "U", "", C},
    {1, 34, 4, "i", "I", "", C},
    {1, 38, 4, "o", "O", "", C},
    {1, 42, 4, "p", "P", "", C},
    {1, 46, 4, "\xFC", "\xDC", "", C},
    {1, 50, 4, "+", "*", "~", C},
    {1, 54, 6, "\x02", "\x02", "\x02", F, 55, 5},
    // Home row.
    {2, 0, 7, "Caps", "Caps", "Caps", F},
    {2, 7, 4, "a", "A", "", C},
    {2, 11, 4, "s", "S", "", C},
    {2, 15, 4, "d", "D", "", C},
    {2, 19, 4, "f", "F", "", C},
    {2, 23, 4, "g", "G", "", C},
    {2, 27, 4, "h", "H", "", C},
    {2, 31, 4, "j", "J", "", C},
    {2, 35, 4, "k", "K", "", C},
    {2, 39, 4, "l", "L", "", C},
    {2, 43, 4, "\xF6", "\xD6", "", C},
    {2, 47, 4, "\xE4", "\xC4", "", C},
    {2, 51, 4, "#", "'", "", C},
    // Bottom letter row, with the extra ISO key left of Y.
    {3, 0, 5, "\x01", "\x01", "\x01", KeyKind::Shift},
    {3, 5, 4, "<", ">", "|", C},
    {3, 9, 4, "y", "Y", "", C},
    {3, 13, 4, "x", "X", "", C},
    {3, 17, 4, "c", "C", "", C},
    {3, 21, 4, "v", "V", "", C},
    {3, 25, 4, "b", "B", "", C},
    {3, 29, 4, "n", "N", "", C},
    {3, 33, 4, "m", "M", "\xB5", C},
    {3, 37, 4, ",", ";", "", C},
    {3, 41, 4, ".", ":", "", C},
    {3, 45, 4, "-", "_", "", C},
    {3, 49, 11, "\x01", "\x01", "\x01", KeyKind::Shift},
    // Space bar row, labelled as on German keycaps (Strg is Ctrl).
    {4, 0, 6, "Strg", "Strg", "Strg", F},
    {4, 6, 5, "\x04", "\x04", "\x04", F},
    {4, 11, 5, "Alt", "Alt", "Alt", F},
    {4, 16, 25, "", "", "", F},
    {4, 41, 7, "AltGr", "AltGr", "AltGr", KeyKind::AltGr},
    {4, 48, 5, "\x05", "\x05", "\x05", F},
    {4, 53, 7, "Strg", "Strg", "Strg", F},
};

Rect SpanRect(int row, int x4, int w4, int extraHeight) {
    return Rect{kMarginLeftPx + x4 * kQuarterPx, kMarginTopPx + row * kPitchPx,
                w4 * kQuarterPx - kKeyGapPx, kKeyHeightPx + extraHeight};
}

bool HeldDown(const KeyDef& key, Layout layout) {
    return (key.kind == KeyKind::Shift && layout == Layout::Shift) ||
           (key.kind == KeyKind::AltGr && layout == Layout::AltGr);
}

// Keys are drawn from a mask of their area so the L-shaped Enter key gets
// one continuous outline. Convex corners are clipped for a rounded look.
void DrawKeyShape(Image& image, const KeyDef& key, Rgb face) {
    std::vector<Rect> parts;
    if (key.lowerW4 > 0) {
        // The upper part runs through the row gap to meet the lower part.
        parts.push_back(SpanRect(key.row, key.x4, key.w4, kKeyGapPx));
        parts.push_back(SpanRect(key.row + 1, key.lowerX4, key.lowerW4, 0));
    } else {
        parts.push_back(SpanRect(key.row, key.x4, key.w4, 0));
    }
    int left = parts[0].x, top = parts[0].y, right = left, bottom = top;
    for (const Rect& r : parts) {
        left = std::min(left, r.x);
        top = std::min(top, r.y);
        right = std::max(right, r.x + r.w);
        bottom = std::max(bottom, r.y + r.h);
    }
    const int w = right - left, h = bottom - top;
    std::vector<char> inside(static_cast<std::size_t>(w) * h, 0);
    auto in = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h &&
               inside[static_cast<std::size_t>(y) * w + x] != 0;
    };
    for (const Rect& r : parts) {
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x)
                inside[static_cast<std::size_t>(y - top) * w + (x - left)] = 1;
    }
    std::vector<char> shape = inside;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool openSide = !in(x - 1, y) || !in(x + 1, y);
            const bool openEnd = !in(x, y - 1) || !in(x, y + 1);
            if (in(x, y) && openSide && openEnd)
                shape[static_cast<std::size_t>(y) * w + x] = 0;
        }
    }
    inside = shape;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!in(x, y)) continue;
            const bool edge = !in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) ||
                              !in(x, y + 1);
            image.At(left + x, top + y) = edge ? kKeyOutline : face;
        }
    }
}

void DrawLabel(Image& image, const Rect& box, const std::string& label, Rgb ink) {
    const int width = LabelWidth(label);
    if (width <= 0) return;
    int x = box.x + (box.w - width) / 2;
    const int cellTop = box.y + (box.h - kGlyphCellHeight) / 2;
    for (unsigned char code : label) {
        const Glyph* glyph = FindGlyph(code);
        int row = glyph->top, column = 0;
        for (const char* p = glyph->rows; *p != '\0'; ++p) {
            if (*p == '|') {
                ++row;
                column = 0;
                continue;
            }
            if (*p == '#') image.At(x + column, cellTop + row) = ink;
            ++column;
        }
        x += GlyphWidth(*glyph) + kGlyphSpacing;
    }
}

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

const std::vector<KeyDef>& GermanKeys() { return kGermanKeys; }

Rect KeyRect(const KeyDef& key) { return SpanRect(key.row, key.x4, key.w4, 0); }

const char* KeyLabel(const KeyDef& key, Layout layout) {
    switch (layout) {
        case Layout::Shift: return key.shift;
        case Layout::AltGr: return key.altGr;
        case Layout::Normal: break;
    }
    return key.normal;
}

// The sizes are those of the bitmap resources the picture windows expect.
int PictureWidth(Layout layout) { return layout == Layout::Normal ? 328 : 329; }
int PictureHeight(Layout layout) { return layout == Layout::AltGr ? 111 : 110; }

const char* PictureFileName(Layout layout) {
    switch (layout) {
        case Layout::Shift: return "kbd_shift.bmp";
        case Layout::AltGr: return "kbd_alt.bmp";
        case Layout::Normal: break;
    }
    return "kbd_normal.bmp";
}

int LabelWidth(const std::string& label) {
    int width = 0;
    for (unsigned char code : label) {
        const Glyph* glyph = FindGlyph(code);
        if (glyph == nullptr) return -1;
        if (width > 0) width += kGlyphSpacing;
        width += GlyphWidth(*glyph);
    }
    return width;
}

Image RenderLayout(Layout layout) {
    Image image(PictureWidth(layout), PictureHeight(layout), kBackground);
    for (const KeyDef& key : kGermanKeys) {
        Rgb face = key.kind == KeyKind::Character ? kCharacterFace : kFunctionFace;
        Rgb ink = kInk;
        std::string label = KeyLabel(key, layout);
        if (HeldDown(key, layout)) face = kHeldFace;
        // A key without an AltGr character is greyed out but keeps its plain
        // character faintly, so the reader can still find the keys around it.
        if (key.kind == KeyKind::Character && label.empty()) {
            face = kFunctionFace;
            ink = kDimInk;
            label = key.normal;
        }
        DrawKeyShape(image, key, face);
        DrawLabel(image, KeyRect(key), label, ink);
    }
    return image;
}

std::vector<std::uint8_t> EncodeBmp(const Image& image) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(image.width) * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = stride * static_cast<std::uint32_t>(image.height);
    const std::uint32_t headerBytes = 14 + 40;
    std::vector<std::uint8_t> out;
    out.reserve(headerBytes + pixelBytes);
    // BITMAPFILEHEADER
    out.push_back('B');
    out.push_back('M');
    PutLe(out, headerBytes + pixelBytes, 4);
    PutLe(out, 0, 4);  // two reserved words
    PutLe(out, headerBytes, 4);
    // BITMAPINFOHEADER; a positive height means bottom-up rows.
    PutLe(out, 40, 4);
    PutLe(out, static_cast<std::uint32_t>(image.width), 4);
    PutLe(out, static_cast<std::uint32_t>(image.height), 4);
    PutLe(out, 1, 2);   // planes
    PutLe(out, 24, 2);  // bits per pixel
    PutLe(out, 0, 4);   // BI_RGB
    PutLe(out, pixelBytes, 4);
    PutLe(out, 2835, 4);  // 72 dpi, in pixels per metre
    PutLe(out, 2835, 4);
    PutLe(out, 0, 4);  // no palette
    PutLe(out, 0, 4);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgb& p = image.At(x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(image.width) * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    return out;
}

bool WritePictures(const std::string& directory, std::string* error) {
    for (Layout layout : kAllLayouts) {
        const std::filesystem::path path =
            std::filesystem::path(directory) / PictureFileName(layout);
        const std::vector<std::uint8_t> bytes = EncodeBmp(RenderLayout(layout));
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            *error = "cannot write " + path.string();
            return false;
        }
    }
    return true;
}

}  // namespace kbdgen
