// Small bitmap font for the keyboard pictures.
//
// Every glyph lives in a cell kGlyphCellHeight rows tall: rows 0-1 hold the
// dots of capital umlauts and the raised digits, rows 2-8 the capitals and
// digits (the baseline lies under row 8), rows 9-10 the descenders. Keeping
// one common cell means all key labels share a baseline however they are
// centred horizontally.
#pragma once

#include <cstddef>

namespace kbdgen {

constexpr int kGlyphCellHeight = 11;
constexpr int kGlyphSpacing = 1;  // blank columns between glyphs of one label

// Codes below 0x20 are key symbols that have no Windows-1252 character.
constexpr char kSymShift = '\x01';
constexpr char kSymEnter = '\x02';
constexpr char kSymBackspace = '\x03';
constexpr char kSymWindows = '\x04';
constexpr char kSymMenu = '\x05';

struct Glyph {
    unsigned char code;  // Windows-1252 byte, or one of the kSym codes
    int top;             // cell row of the first row in `rows`
    const char* rows;    // rows of '#' (ink) and '.' (blank) separated by '|'
};

// All glyphs of the font; FindGlyph is the usual way in.
const Glyph* FontGlyphs(std::size_t* count);

// The glyph for `code`, or nullptr when the font has none.
const Glyph* FindGlyph(unsigned char code);

// Columns of the glyph's first row (all rows of a well-formed glyph agree).
int GlyphWidth(const Glyph& glyph);

}  // namespace kbdgen
