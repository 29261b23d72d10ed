#include "search.h"

#include <cstring>

#include "dictionary_format.h"

namespace {

// A matched line's record. The "*" and the CR LF are looked for across line
// ends, as far as the data goes; a line with no "*" before the end of the data
// keeps the rest of the data as its source and an empty translation.
ResultRecord Measure(const unsigned char* view, const unsigned char* lineStart, const unsigned char* end)
{
    ResultRecord record;
    record.source = static_cast<uint32_t>(lineStart - view);
    const void* star = std::memchr(lineStart, kSourceEnd, static_cast<size_t>(end - lineStart));
    if (star == nullptr) {
        record.sourceLength = static_cast<uint32_t>(end - lineStart);
        record.translation = static_cast<uint32_t>(end - view);
        record.translationLength = 0;
        return record;
    }
    const unsigned char* translation = static_cast<const unsigned char*>(star) + 1;
    record.sourceLength = static_cast<uint32_t>(translation - 1 - lineStart);
    record.translation = static_cast<uint32_t>(translation - view);
    record.translationLength = static_cast<uint32_t>(FindLineEnd(translation, end) - translation);
    return record;
}

} // namespace

int32_t ScanDictionary(const unsigned char* view, uint32_t dataBegin, uint32_t dataEnd,
                       const unsigned char* text, uint32_t length, ResultList& list)
{
    int32_t count = 0;
    if (view == nullptr || dataBegin >= dataEnd)
        return count;
    const unsigned char* p = view + dataBegin;
    const unsigned char* const end = view + dataEnd;
    while (p < end) {
        const unsigned char* const lineStart = p;
        uint32_t agreed = 0;
        while (agreed < length && p < end && *p == text[agreed]) {
            ++p;
            ++agreed;
        }
        if (agreed == length) {
            if (count < list.resultCapacity)
                ++count;
            list.table.results[count - 1] = Measure(view, lineStart, end);
        }
        const unsigned char* lineEnd = FindLineEnd(p, end);
        p = lineEnd < end ? lineEnd + 2 : end;
        while (p < end && !IsWordStart(*p))
            ++p;
    }
    return count;
}

bool SearchDictionary(const DictionaryView& dictionary, const unsigned char* text, uint32_t length,
                      ResultList& list, ListScrollState& state)
{
    state.oneLineRepaint = 0;
    state.firstRowOffset = 0;
    state.scrollInfo.nPos = 0;
    state.scrollInfo.nMax = 0;
    list.rowStride = kResultStride;

    const uint32_t bytes = DataBytes(dictionary.view, dictionary.fileSize, dictionary.headerOffset);
    const uint32_t begin = bytes == 0 ? 0 : dictionary.headerOffset;
    list.resultCount = ScanDictionary(dictionary.view, begin, begin + bytes, text, length, list);

    if (list.resultCount == 0) {
        state.rowsToDraw = 0;
        return false;
    }
    state.rowsToDraw = list.resultCount <= PageRows(state) ? list.resultCount : PageRows(state);
    state.scrollInfo.nMax = list.resultCount;
    return true;
}
