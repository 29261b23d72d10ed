#include "search.h"

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "dictionary_format.h"

// How the scan stays one cheap pass while giving the records of the literal,
// byte-at-a-time walk (compare at the line start; from where the comparison
// stopped go to the next CR LF; pass over non-word-start bytes):
//
// While the search text holds no CR, the comparison can never agree with the
// CR of a CR LF, so the walk's next CR LF is the first one at or after the
// line start, whatever the comparison did. The line starts are then a property
// of the data alone: the first data byte, and for every CR LF of the data the
// first word-start byte after it. That holds for every CR LF, not only the one
// the walk stops at: a CR LF that the walk crosses while passing over lies in
// a stretch without word-start bytes, so its first word-start byte after it is
// the one the walk reaches. Several CR LFs of one such stretch name the same
// line start, which must be compared once, so after a line start the scan only
// looks at CR LFs beyond it.
//
// So the scan visits the byte after each CR LF. Nearly always that byte is a
// letter, hence the line start, and the line is done when it (or the byte
// after it) differs from the text; the SSE2 loop tests sixteen positions at
// once and stops only where those bytes agree with the text, or where the
// byte after the CR LF may not begin a word and the line start lies further
// on (blank lines, lines opening with blanks, digits, "(" or an umlaut).
// Since every line start after the first data byte is a word-start byte, a
// text that begins otherwise can only match at the first data byte.
//
// A text with a CR makes the line starts depend on the comparison, and a
// text of no bytes matches every line; both take the literal walk.

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

// Fills the table in file order. Every match past the first capacity - 1
// lands in the last slot, so only the last of them is measured, once, at the
// end: a search with thousands of matches costs no more than one with 500.
class Recorder {
public:
    Recorder(const unsigned char* view, const unsigned char* end, ResultList& list)
        : view_(view), end_(end), list_(list),
          capacity_(list.resultCapacity < kResultCapacity ? list.resultCapacity : kResultCapacity)
    {
    }

    void Add(const unsigned char* lineStart)
    {
        if (count_ < capacity_ - 1) {
            list_.table.results[count_++] = Measure(view_, lineStart, end_);
        } else {
            count_ = capacity_;
            last_ = lineStart;
        }
    }

    int32_t Finish()
    {
        if (last_ != nullptr)
            list_.table.results[capacity_ - 1] = Measure(view_, last_, end_);
        return count_;
    }

private:
    const unsigned char* const view_;
    const unsigned char* const end_;
    ResultList& list_;
    const int32_t capacity_;
    int32_t count_ = 0;
    const unsigned char* last_ = nullptr;
};

// The walk exactly as the format describes it, for the texts the fast scan
// does not take.
void WalkLines(const unsigned char* p, const unsigned char* end, const unsigned char* text, uint32_t length,
               Recorder& recorder)
{
    while (p < end) {
        const unsigned char* const lineStart = p;
        uint32_t agreed = 0;
        while (agreed < length && p < end && *p == text[agreed]) {
            ++p;
            ++agreed;
        }
        if (agreed == length)
            recorder.Add(lineStart);
        const unsigned char* lineEnd = FindLineEnd(p, end);
        p = lineEnd < end ? lineEnd + 2 : end;
        while (p < end && !IsWordStart(*p))
            ++p;
    }
}

class LineStartScan {
public:
    LineStartScan(const unsigned char* end, const unsigned char* text, uint32_t length, Recorder& recorder)
        : end_(end), text_(text), length_(length), first_(text[0]), recorder_(recorder)
    {
    }

    void CompareFirst(const unsigned char* begin)
    {
        if (*begin == first_)
            Compare(begin);
    }

    // The first byte is known to agree; texts are short, so a plain loop
    // beats a call.
    void Compare(const unsigned char* lineStart)
    {
        if (static_cast<size_t>(end_ - lineStart) < length_)
            return;
        uint32_t agreed = 1;
        while (agreed < length_ && lineStart[agreed] == text_[agreed])
            ++agreed;
        if (agreed == length_)
            recorder_.Add(lineStart);
    }

    // at is the byte after a CR LF, inside the data. Finds and compares the
    // line start that CR LF leads to, and returns the first position that a
    // later CR LF leading elsewhere can be followed by.
    const unsigned char* AfterLineEnd(const unsigned char* at)
    {
        if (*at == first_) {
            Compare(at);
            return at + 1;
        }
        if (IsWordStart(*at))
            return at + 1;
        do
            ++at;
        while (at < end_ && !IsWordStart(*at));
        if (at == end_)
            return end_;
        if (*at == first_)
            Compare(at);
        return at + 1;
    }

    // Visits every CR LF whose LF lies at or after from - 1, in order.
    // from - 2 must be data.
    void Run(const unsigned char* from)
    {
        const unsigned char* p = from;
#if defined(__SSE2__)
        p = length_ >= 2 ? RunBlocks<true>(p) : RunBlocks<false>(p);
#endif
        while (p < end_) {
            const void* lf = std::memchr(p - 1, '\n', static_cast<size_t>(end_ - (p - 1)));
            if (lf == nullptr)
                return;
            const unsigned char* at = static_cast<const unsigned char*>(lf) + 1;
            if (at == end_)
                return;
            p = at[-2] == '\r' ? AfterLineEnd(at) : at + 1;
        }
    }

private:
#if defined(__SSE2__)
    // Bytes at p .. p + 15 that follow a CR LF and either may begin a match
    // (they are the text's first byte, and with kPair the next byte is the
    // second) or lie outside A..z, where the line start may be further on.
    template <bool kPair>
    static __m128i Candidates(const unsigned char* p, __m128i first, __m128i second)
    {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i back1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 1));
        const __m128i back2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 2));
        const __m128i afterLineEnd = _mm_and_si128(_mm_cmpeq_epi8(back2, _mm_set1_epi8('\r')),
                                                   _mm_cmpeq_epi8(back1, _mm_set1_epi8('\n')));
        // 0x41..0x7A moved to -128..-71: the only bytes not above -71.
        const __m128i notLetter =
            _mm_cmpgt_epi8(_mm_add_epi8(here, _mm_set1_epi8(0x3F)), _mm_set1_epi8(static_cast<char>(0xB9)));
        __m128i start = _mm_cmpeq_epi8(here, first);
        if (kPair) {
            const __m128i ahead = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
            start = _mm_and_si128(start, _mm_cmpeq_epi8(ahead, second));
        }
        return _mm_and_si128(afterLineEnd, _mm_or_si128(start, notLetter));
    }

    static uint64_t Bits(__m128i v) { return static_cast<uint16_t>(_mm_movemask_epi8(v)); }

    // Handles the candidates 64 bytes at a time while 65 bytes remain (the
    // pair test reads one ahead); returns where the rest begins.
    template <bool kPair>
    const unsigned char* RunBlocks(const unsigned char* p)
    {
        const __m128i first = _mm_set1_epi8(static_cast<char>(first_));
        const __m128i second = _mm_set1_epi8(static_cast<char>(kPair ? text_[1] : 0));
        while (end_ - p > 64) {
            const __m128i c0 = Candidates<kPair>(p, first, second);
            const __m128i c1 = Candidates<kPair>(p + 16, first, second);
            const __m128i c2 = Candidates<kPair>(p + 32, first, second);
            const __m128i c3 = Candidates<kPair>(p + 48, first, second);
            if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(c0, c1), _mm_or_si128(c2, c3))) == 0) {
                p += 64;
                continue;
            }
            uint64_t bits = Bits(c0) | Bits(c1) << 16 | Bits(c2) << 32 | Bits(c3) << 48;
            const unsigned char* const block = p;
            p += 64;
            while (bits != 0) {
                const unsigned char* const at = block + __builtin_ctzll(bits);
                if (*at == first_) {
                    // The line starts right here, so the next candidate is
                    // simply the next bit.
                    Compare(at);
                    bits &= bits - 1;
                    continue;
                }
                const unsigned char* const next = AfterLineEnd(at);
                if (next >= p) {
                    p = next;
                    break;
                }
                bits &= ~uint64_t{0} << (next - block);
            }
        }
        return p;
    }
#endif

    const unsigned char* const end_;
    const unsigned char* const text_;
    const uint32_t length_;
    const unsigned char first_;
    Recorder& recorder_;
};

} // namespace

int32_t ScanDictionary(const unsigned char* view, uint32_t dataBegin, uint32_t dataEnd,
                       const unsigned char* text, uint32_t length, ResultList& list)
{
    if (view == nullptr || dataBegin >= dataEnd || list.resultCapacity <= 0)
        return 0;
    const unsigned char* const begin = view + dataBegin;
    const unsigned char* const end = view + dataEnd;
    Recorder recorder(view, end, list);
    if (length == 0 || std::memchr(text, '\r', length) != nullptr) {
        WalkLines(begin, end, text, length, recorder);
        return recorder.Finish();
    }
    LineStartScan scan(end, text, length, recorder);
    scan.CompareFirst(begin);
    if (IsWordStart(text[0]) && end - begin > 2)
        scan.Run(begin + 2);
    return recorder.Finish();
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
