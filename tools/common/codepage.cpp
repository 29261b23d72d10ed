#include "codepage.h"

namespace {
// 0x80..0x9F; 0 marks the undefined bytes, which pass through as C1 controls.
const uint16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};
} // namespace

uint32_t Cp1252ToCodePoint(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0 && kHighControls[byte - 0x80] != 0)
        return kHighControls[byte - 0x80];
    return byte;
}

int CodePointToCp1252(uint32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<int>(codePoint);
    for (int i = 0; i < 32; ++i) {
        const uint32_t mapped = kHighControls[i] != 0 ? kHighControls[i] : static_cast<uint32_t>(0x80 + i);
        if (mapped == codePoint)
            return 0x80 + i;
    }
    return -1;
}

bool DecodeUtf8(const std::string& text, size_t& pos, uint32_t& codePoint)
{
    const unsigned char lead = static_cast<unsigned char>(text[pos]);
    int extra;
    uint32_t minimum;
    if (lead < 0x80) {
        codePoint = lead;
        ++pos;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        minimum = 0x80;
        codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        minimum = 0x800;
        codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        minimum = 0x10000;
        codePoint = lead & 0x07;
    } else {
        return false;
    }
    if (text.size() - pos <= static_cast<size_t>(extra))
        return false;
    for (int i = 1; i <= extra; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80)
            return false;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return false;
    pos += static_cast<size_t>(extra) + 1;
    return true;
}

void AppendUtf8(std::string& out, uint32_t codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

bool Utf8ToCp1252(const std::string& utf8, std::string& out, uint32_t& bad)
{
    out.clear();
    size_t pos = 0;
    while (pos < utf8.size()) {
        uint32_t codePoint;
        if (!DecodeUtf8(utf8, pos, codePoint)) {
            bad = 0xFFFFFFFFu;
            return false;
        }
        const int byte = CodePointToCp1252(codePoint);
        if (byte < 0) {
            bad = codePoint;
            return false;
        }
        out += static_cast<char>(byte);
    }
    return true;
}

std::string Cp1252ToUtf8(const char* bytes, size_t length)
{
    std::string out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i)
        AppendUtf8(out, Cp1252ToCodePoint(static_cast<unsigned char>(bytes[i])));
    return out;
}
