// Tests for the keyboard picture generator: the bitmap file format the
// resource compiler and LoadBitmapA need, the drawing itself, and that the
// committed bitmaps are what the generator makes today.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kbd_font.h"
#include "kbd_picture.h"

namespace {

using kbdgen::Image;
using kbdgen::KeyDef;
using kbdgen::Layout;
using kbdgen::Rect;
using kbdgen::Rgb;
using Bytes = std::vector<std::uint8_t>;

std::uint32_t U32(const Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint32_t U16(const Bytes& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }

Bytes ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const KeyDef& KeyWithNormalLabel(const std::string& label) {
    for (const KeyDef& key : kbdgen::GermanKeys()) {
        if (label == key.normal) return key;
    }
    ADD_FAILURE() << "no key labelled " << label;
    return kbdgen::GermanKeys().front();
}

bool SameArea(const Image& a, const Image& b, const Rect& r) {
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            if (a.At(x, y) != b.At(x, y)) return false;
    return true;
}

// The sizes are those the program's picture windows were laid out for.
struct Expected {
    Layout layout;
    std::uint32_t width, height;
};
const Expected kExpected[] = {{Layout::Normal, 328, 110}, {Layout::Shift, 329, 110}, {Layout::AltGr, 329, 111}};

class BmpFormat : public ::testing::TestWithParam<Expected> {};

TEST_P(BmpFormat, HeadersDescribeUncompressedBottomUp24BitPicture) {
    const auto [layout, width, height] = GetParam();
    const Bytes bmp = kbdgen::EncodeBmp(kbdgen::RenderLayout(layout));
    const std::uint32_t stride = (width * 3 + 3) / 4 * 4;

    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ('B', bmp[0]);
    EXPECT_EQ('M', bmp[1]);
    EXPECT_EQ(bmp.size(), U32(bmp, 2));
    EXPECT_EQ(0u, U32(bmp, 6));
    EXPECT_EQ(54u, U32(bmp, 10));
    EXPECT_EQ(40u, U32(bmp, 14));
    EXPECT_EQ(width, U32(bmp, 18));
    EXPECT_EQ(height, U32(bmp, 22));  // positive: rows stored bottom-up
    EXPECT_EQ(1u, U16(bmp, 26));
    EXPECT_EQ(24u, U16(bmp, 28));
    EXPECT_EQ(0u, U32(bmp, 30));
    EXPECT_EQ(stride * height, U32(bmp, 34));
    EXPECT_EQ(54u + stride * height, bmp.size());
    // The odd widths need padding; it must be zero so the files are stable.
    for (std::uint32_t row = 0; row < height; ++row)
        for (std::uint32_t at = width * 3; at < stride; ++at)
            EXPECT_EQ(0, bmp[54 + row * stride + at]) << "row " << row;
}

TEST_P(BmpFormat, PixelsAreStoredBgrFromTheBottomRow) {
    const Image image = kbdgen::RenderLayout(GetParam().layout);
    const Bytes bmp = kbdgen::EncodeBmp(image);
    const std::size_t stride = (image.width * 3 + 3) / 4 * 4;
    auto stored = [&](int x, int y) {
        const std::size_t at = 54 + (image.height - 1 - y) * stride + x * 3;
        return Rgb{bmp[at + 2], bmp[at + 1], bmp[at]};
    };
    // The AltGr key face is coloured (red != blue) when held, grey otherwise.
    const KeyDef& altGr = KeyWithNormalLabel("AltGr");
    const Rect r = kbdgen::KeyRect(altGr);
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{image.width - 1, image.height - 1},
                               std::pair{r.x + 2, r.y + 2}, std::pair{r.x + r.w / 2, r.y + r.h / 2}})
        EXPECT_EQ(image.At(x, y), stored(x, y)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(AllLayouts, BmpFormat, ::testing::ValuesIn(kExpected),
                         [](const ::testing::TestParamInfo<Expected>& info) {
                             const std::string name = kbdgen::PictureFileName(info.param.layout);
                             return name.substr(4, name.size() - 8);  // kbd_<name>.bmp
                         });

TEST(KeyboardPicture, KeysSitOnGreyBackgroundWithOutlineAndLightFace) {
    for (Layout layout : kbdgen::kAllLayouts) {
        const Image image = kbdgen::RenderLayout(layout);
        EXPECT_EQ(kbdgen::kBackground, image.At(0, 0));
        EXPECT_EQ(kbdgen::kBackground, image.At(image.width - 1, image.height - 1));
        const Rect q = kbdgen::KeyRect(KeyWithNormalLabel("q"));
        EXPECT_EQ(kbdgen::kKeyOutline, image.At(q.x + q.w / 2, q.y));
        EXPECT_EQ(kbdgen::kKeyOutline, image.At(q.x, q.y + q.h / 2));
        const Rgb face = image.At(q.x + 1, q.y + 1);
        EXPECT_NE(kbdgen::kBackground, face);
        EXPECT_GT(face.r + face.g + face.b, kbdgen::kBackground.r * 3) << "face lighter than background";
    }
}

TEST(KeyboardPicture, LayoutsDifferExactlyWhereTheKeysDo) {
    const Image normal = kbdgen::RenderLayout(Layout::Normal);
    const Image shift = kbdgen::RenderLayout(Layout::Shift);
    const Image altGr = kbdgen::RenderLayout(Layout::AltGr);
    for (const char* label : {"q", "e", "7", "m", "<"}) {
        const Rect r = kbdgen::KeyRect(KeyWithNormalLabel(label));
        EXPECT_FALSE(SameArea(normal, shift, r)) << label;
        EXPECT_FALSE(SameArea(normal, altGr, r)) << label;
        EXPECT_FALSE(SameArea(shift, altGr, r)) << label;
    }
    // Keys that change with no modifier look the same in all three.
    for (const char* label : {"Tab", "Caps", "Strg", ""}) {
        const Rect r = kbdgen::KeyRect(KeyWithNormalLabel(label));
        EXPECT_TRUE(SameArea(normal, shift, r)) << label;
        EXPECT_TRUE(SameArea(normal, altGr, r)) << label;
    }
    // A key without an AltGr character is dimmed, not left as it was.
    const Rect one = kbdgen::KeyRect(KeyWithNormalLabel("1"));
    EXPECT_FALSE(SameArea(normal, altGr, one));
}

TEST(KeyboardPicture, EveryLabelIsCentredAndClearOfTheOutline) {
    for (Layout layout : kbdgen::kAllLayouts) {
        const Image image = kbdgen::RenderLayout(layout);
        for (const KeyDef& key : kbdgen::GermanKeys()) {
            const Rect r = kbdgen::KeyRect(key);
            int minX = r.x + r.w, maxX = -1, minY = r.y + r.h, maxY = -1;
            for (int y = r.y; y < r.y + r.h; ++y)
                for (int x = r.x; x < r.x + r.w; ++x) {
                    const Rgb p = image.At(x, y);
                    if (p != kbdgen::kInk && p != kbdgen::kDimInk) continue;
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                    minY = std::min(minY, y);
                    maxY = std::max(maxY, y);
                }
            const std::string name = key.normal;
            if (name.empty()) {
                EXPECT_EQ(-1, maxX) << "space bar has no label";
                continue;
            }
            ASSERT_NE(-1, maxX) << "no label drawn on key " << name;
            const int leftGap = minX - r.x, rightGap = r.x + r.w - 1 - maxX;
            EXPECT_LE(std::abs(leftGap - rightGap), 1) << name;
            EXPECT_GE(leftGap, 2) << name;
            EXPECT_GE(rightGap, 2) << name;
            EXPECT_GE(minY - r.y, 2) << name;
            EXPECT_GE(r.y + r.h - 1 - maxY, 2) << name;
        }
    }
}

TEST(KeyTable, KeysTileTheBlockWithoutOverlapAndFitEveryPicture) {
    // Quarter-key cells per row; the Enter key's lower part counts in its row.
    int cover[5][60] = {};
    auto mark = [&](int row, int x4, int w4) {
        for (int q = x4; q < x4 + w4; ++q)
            ASSERT_TRUE(row < 5 && q < 60 && ++cover[row][q] == 1) << "row " << row << " quarter " << q;
    };
    for (const KeyDef& key : kbdgen::GermanKeys()) {
        mark(key.row, key.x4, key.w4);
        if (key.lowerW4 > 0) mark(key.row + 1, key.lowerX4, key.lowerW4);
        const Rect r = kbdgen::KeyRect(key);
        for (Layout layout : kbdgen::kAllLayouts)
            EXPECT_TRUE(r.x >= 1 && r.y >= 1 && r.x + r.w < kbdgen::PictureWidth(layout) &&
                        r.y + r.h < kbdgen::PictureHeight(layout))
                << key.normal;
    }
    for (int row = 0; row < 5; ++row)
        for (int q = 0; q < 60; ++q) EXPECT_EQ(1, cover[row][q]) << "hole in row " << row << " at quarter " << q;
}

TEST(Font, CoversEveryLabelAndEveryGlyphIsWellFormed) {
    for (const KeyDef& key : kbdgen::GermanKeys())
        for (Layout layout : kbdgen::kAllLayouts)
            EXPECT_GE(kbdgen::LabelWidth(kbdgen::KeyLabel(key, layout)), 0) << key.normal;

    std::size_t count = 0;
    const kbdgen::Glyph* glyphs = kbdgen::FontGlyphs(&count);
    std::set<unsigned> codes;
    for (std::size_t i = 0; i < count; ++i) {
        const kbdgen::Glyph& g = glyphs[i];
        EXPECT_TRUE(codes.insert(g.code).second) << "duplicate glyph " << unsigned(g.code);
        const int width = kbdgen::GlyphWidth(g);
        int rows = 0, column = 0;
        bool inked = false;
        for (const char* p = g.rows;; ++p) {
            if (*p == '|' || *p == '\0') {
                EXPECT_EQ(width, column) << "ragged row in glyph " << unsigned(g.code);
                ++rows;
                column = 0;
                if (*p == '\0') break;
                continue;
            }
            EXPECT_TRUE(*p == '#' || *p == '.') << "glyph " << unsigned(g.code);
            inked = inked || *p == '#';
            ++column;
        }
        EXPECT_TRUE(inked) << "blank glyph " << unsigned(g.code);
        EXPECT_GE(g.top, 0);
        EXPECT_LE(g.top + rows, kbdgen::kGlyphCellHeight) << "glyph " << unsigned(g.code);
    }
}

TEST(GeneratedFiles, WritePicturesProducesTheEncodedBitmaps) {
    const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "kbdgen_write_test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::string error;
    ASSERT_TRUE(kbdgen::WritePictures(dir.string(), &error)) << error;
    for (Layout layout : kbdgen::kAllLayouts)
        EXPECT_EQ(kbdgen::EncodeBmp(kbdgen::RenderLayout(layout)),
                  ReadFile(dir / kbdgen::PictureFileName(layout)))
            << kbdgen::PictureFileName(layout);
    std::filesystem::remove_all(dir);

    EXPECT_FALSE(kbdgen::WritePictures((dir / "missing" / "deeper").string(), &error));
    EXPECT_NE(std::string::npos, error.find("kbd_normal.bmp"));
}

TEST(GeneratedFiles, CommittedResourcesMatchTheGenerator) {
    // Re-run vokabix-kbdgen into resources/ when this fails after a change
    // to the key table or the font.
    for (Layout layout : kbdgen::kAllLayouts) {
        const std::filesystem::path path =
            std::filesystem::path(KBDGEN_RESOURCE_DIR) / kbdgen::PictureFileName(layout);
        ASSERT_TRUE(std::filesystem::exists(path)) << path;
        EXPECT_TRUE(kbdgen::EncodeBmp(kbdgen::RenderLayout(layout)) == ReadFile(path)) << path;
    }
}

}  // namespace
