#include "dictionary_format.h"

#include <cstring>

namespace {
const DirectionInfo kGermanToEnglish = {"GerEng.dat", "GerEng Data Starts Here:"};
const DirectionInfo kEnglishToGerman = {"EngGer.dat", "EngGer Data Starts Here:"};

struct WordStartTable {
    bool start[256];
    constexpr WordStartTable() : start()
    {
        for (int b = 0x41; b <= 0x7A; ++b)
            start[b] = true;
        const unsigned char umlauts[] = {0xE4, 0xC4, 0xF6, 0xD6, 0xFC, 0xDC, 0xFB};
        for (unsigned char b : umlauts)
            start[b] = true;
    }
};
constexpr WordStartTable kWordStart;
} // namespace

const DirectionInfo& InfoFor(DictionaryDirection direction)
{
    return direction == DictionaryDirection::GermanToEnglish ? kGermanToEnglish : kEnglishToGerman;
}

bool IsWordStart(unsigned char byte)
{
    return kWordStart.start[byte];
}

uint32_t FindHeaderEnd(const unsigned char* view, uint32_t size, const char* marker)
{
    if (view == nullptr || size < kMarkerLength)
        return kNoMarker;
    const unsigned char first = static_cast<unsigned char>(marker[0]);
    const uint32_t lastStart = size - static_cast<uint32_t>(kMarkerLength);
    for (uint32_t p = 0; p <= lastStart;) {
        const void* hit = std::memchr(view + p, first, lastStart - p + 1);
        if (hit == nullptr)
            break;
        p = static_cast<uint32_t>(static_cast<const unsigned char*>(hit) - view);
        if (std::memcmp(view + p, marker, kMarkerLength) == 0)
            return p + static_cast<uint32_t>(kMarkerLength);
        ++p;
    }
    return kNoMarker;
}

const unsigned char* FindLineEnd(const unsigned char* p, const unsigned char* end)
{
    while (p < end) {
        const void* cr = std::memchr(p, '\r', static_cast<size_t>(end - p));
        if (cr == nullptr)
            return end;
        const unsigned char* at = static_cast<const unsigned char*>(cr);
        if (at + 1 < end && at[1] == '\n')
            return at;
        p = at + 1;
    }
    return end;
}
