#include "strongs_list.h"

#include <cstring>

#include "dictionary_format.h"

namespace {

int32_t CountLines(const unsigned char* view, uint32_t size)
{
    int32_t lines = 0;
    const unsigned char* const end = view + size;
    for (const unsigned char* p = FindLineEnd(view, end); p < end; p = FindLineEnd(p + 2, end))
        ++lines;
    return lines;
}

// A column of up to want bytes at p, clipped at the end of the file.
StrongsColumn TakeColumn(uint32_t& p, uint32_t size, uint32_t want)
{
    const uint32_t left = size - p;
    const uint32_t length = left < want ? left : want;
    StrongsColumn column{p, length};
    p += length;
    return column;
}

StrongsColumn TakeLastColumn(const unsigned char* view, uint32_t& p, uint32_t size)
{
    const uint32_t q = static_cast<uint32_t>(FindLineEnd(view + p, view + size) - view);
    StrongsColumn column{p, q - p};
    p = q < size ? q + 2 : size;
    return column;
}

} // namespace

StrongsLoad ReadStrongsList(const unsigned char* view, uint32_t size, ResultTable& table)
{
    std::memset(table.bytes, 0, sizeof(table.bytes));
    StrongsLoad load{0, 0};
    if (view == nullptr)
        return load;
    load.lineCount = CountLines(view, size);

    uint32_t p = 0;
    while (p < size) {
        if (view[p] != kStrongsMark) {
            // Lines that are not records are crossed two bytes at a time.
            p = size - p < 2 ? size : p + 2;
            continue;
        }
        ++p;
        StrongsRecord record;
        for (int c = 0; c < 3; ++c)
            record.columns[c] = TakeColumn(p, size, kStrongsColumnBytes);
        record.columns[3] = TakeLastColumn(view, p, size);
        if (load.recordCount < kStrongsCapacity)
            table.strongs[load.recordCount++] = record;
    }
    return load;
}
