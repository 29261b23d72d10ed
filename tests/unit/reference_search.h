// The dictionary scan written the slow, literal way: one byte at a time with
// a count of bytes left. Every faster search must give the same records.
#pragma once
#include <cstdint>

#include "data/dictionary_format.h"
#include "shared/result_table.h"

inline int32_t ReferenceScan(const unsigned char* view, uint32_t dataBegin, uint32_t dataEnd,
                             const unsigned char* text, uint32_t length, ResultRecord* slots)
{
    int32_t count = 0;
    uint32_t pos = dataBegin;
    uint32_t left = dataEnd > dataBegin ? dataEnd - dataBegin : 0;
    const auto isCrLf = [&](uint32_t at) { return at + 1 < dataEnd && view[at] == '\r' && view[at + 1] == '\n'; };
    while (left > 0) {
        const uint32_t lineStart = pos;
        uint32_t agreed = 0;
        while (agreed < length && left > 0 && view[pos] == text[agreed]) {
            ++pos;
            --left;
            ++agreed;
        }
        if (agreed == length) {
            if (count < kResultCapacity)
                ++count;
            ResultRecord record{lineStart, 0, 0, 0};
            uint32_t star = lineStart;
            while (star < dataEnd && view[star] != '*')
                ++star;
            if (star == dataEnd) {
                record.sourceLength = dataEnd - lineStart;
                record.translation = dataEnd;
            } else {
                record.sourceLength = star - lineStart;
                record.translation = star + 1;
                uint32_t end = star + 1;
                while (end < dataEnd && !isCrLf(end))
                    ++end;
                record.translationLength = end - record.translation;
            }
            slots[count - 1] = record;
        }
        while (left > 0) {
            if (isCrLf(pos)) {
                pos += 2;
                left -= 2;
                break;
            }
            ++pos;
            --left;
        }
        while (left > 0 && !IsWordStart(view[pos])) {
            ++pos;
            --left;
        }
    }
    return count;
}
