#include "search.h"

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#define VOKABIX_HAS_AVX2_PATH 1
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
// after it) differs from the text; the wide loops test 16 (SSE2) or 32 (AVX2)
// positions at once and stop only where those bytes agree with the text, or
// where the byte after the LF may not begin a word and the line start lies
// further on (blank lines, lines opening with blanks, digits, "(" or an
// umlaut). They look at the LF alone and leave the CR to the scalar code,
// which saves a load and two operations per step for a case real files
// hardly have. Since every line start after the first data byte is a
// word-start byte, a text that begins otherwise can only match at the first
// data byte.
//
// The AVX2 loop is chosen at run time, so one build serves every processor.
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
    void Run(const unsigned char* from, ScanPath path)
    {
        const unsigned char* p = from;
        switch (path) {
        case ScanPath::Portable:
            break;
        case ScanPath::Sse2:
#if defined(__SSE2__)
            p = length_ >= 2 ? RunSse2<true>(p) : RunSse2<false>(p);
#endif
            break;
        case ScanPath::Avx2:
#if defined(VOKABIX_HAS_AVX2_PATH)
            p = length_ >= 2 ? RunAvx2<true>(p) : RunAvx2<false>(p);
#endif
            break;
        }
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
    // A 32-bit build would call a library routine for a 64-bit count.
    static unsigned LowestBit(uint64_t bits)
    {
        if (sizeof(void*) >= 8)
            return static_cast<unsigned>(__builtin_ctzll(bits));
        const auto low = static_cast<uint32_t>(bits);
        return low != 0 ? static_cast<unsigned>(__builtin_ctz(low))
                        : 32 + static_cast<unsigned>(__builtin_ctz(static_cast<uint32_t>(bits >> 32)));
    }

    // The wide loops test only for the LF in front of a position; a lone LF
    // is rare enough to be weeded out here. Each bit stands for the byte at
    // block + its index, a candidate line start; block is followed by 64
    // bytes of data and block - 2 is data. Returns where the wide loop goes
    // on: past the block, or past the line start a candidate led to.
    const unsigned char* VisitCandidates(const unsigned char* block, uint64_t bits)
    {
        const unsigned char* const blockEnd = block + 64;
        while (bits != 0) {
            const unsigned char* const at = block + LowestBit(bits);
            if (at[-2] != '\r') {
                bits &= bits - 1;
                continue;
            }
            if (*at == first_) {
                // The line starts right here, so the next candidate is
                // simply the next bit.
                Compare(at);
                bits &= bits - 1;
                continue;
            }
            const unsigned char* const next = AfterLineEnd(at);
            if (next >= blockEnd)
                return next;
            bits &= ~uint64_t{0} << (next - block);
        }
        return blockEnd;
    }

#if defined(__SSE2__)
    // Bytes at p .. p + 15 that follow an LF and either may begin a match
    // (they are the text's first byte, and with kPair the next byte is the
    // second) or lie outside A..z, where the line start may be further on.
    template <bool kPair>
    static __m128i Candidates(const unsigned char* p, __m128i first, __m128i second)
    {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i back = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 1));
        const __m128i afterLf = _mm_cmpeq_epi8(back, _mm_set1_epi8('\n'));
        // 0x41..0x7A moved to -128..-71: the only bytes not above -71.
        const __m128i notLetter =
            _mm_cmpgt_epi8(_mm_add_epi8(here, _mm_set1_epi8(0x3F)), _mm_set1_epi8(static_cast<char>(0xB9)));
        __m128i start = _mm_cmpeq_epi8(here, first);
        if (kPair) {
            const __m128i ahead = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
            start = _mm_and_si128(start, _mm_cmpeq_epi8(ahead, second));
        }
        return _mm_and_si128(afterLf, _mm_or_si128(start, notLetter));
    }

    static uint64_t Bits(__m128i v) { return static_cast<uint16_t>(_mm_movemask_epi8(v)); }

    // 64 bytes a step while 65 bytes remain (the pair test reads one
    // ahead); returns where the rest begins.
    template <bool kPair>
    const unsigned char* RunSse2(const unsigned char* p)
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
            p = VisitCandidates(p, Bits(c0) | Bits(c1) << 16 | Bits(c2) << 32 | Bits(c3) << 48);
        }
        return p;
    }
#endif

#if defined(VOKABIX_HAS_AVX2_PATH)
    // The same test as Candidates, 32 bytes wide. Inlined into RunAvx2, so
    // no 256-bit value ever crosses a call: the 32-bit Windows ABI has no
    // way to pass one in a register.
    template <bool kPair>
    __attribute__((target("avx2"), always_inline)) static inline __m256i
    WideCandidates(const unsigned char* p, const __m256i& first, const __m256i& second)
    {
        const __m256i here = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __m256i back = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p - 1));
        const __m256i afterLf = _mm256_cmpeq_epi8(back, _mm256_set1_epi8('\n'));
        const __m256i notLetter = _mm256_cmpgt_epi8(_mm256_add_epi8(here, _mm256_set1_epi8(0x3F)),
                                                    _mm256_set1_epi8(static_cast<char>(0xB9)));
        __m256i start = _mm256_cmpeq_epi8(here, first);
        if (kPair) {
            const __m256i ahead = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 1));
            start = _mm256_and_si256(start, _mm256_cmpeq_epi8(ahead, second));
        }
        return _mm256_and_si256(afterLf, _mm256_or_si256(start, notLetter));
    }

    template <bool kPair>
    __attribute__((target("avx2"))) const unsigned char* RunAvx2(const unsigned char* p)
    {
        const __m256i first = _mm256_set1_epi8(static_cast<char>(first_));
        const __m256i second = _mm256_set1_epi8(static_cast<char>(kPair ? text_[1] : 0));
        while (end_ - p > 64) {
            const __m256i c0 = WideCandidates<kPair>(p, first, second);
            const __m256i c1 = WideCandidates<kPair>(p + 32, first, second);
            const __m256i any = _mm256_or_si256(c0, c1);
            if (_mm256_testz_si256(any, any)) {
                p += 64;
                continue;
            }
            const uint64_t low = static_cast<uint32_t>(_mm256_movemask_epi8(c0));
            const uint64_t high = static_cast<uint32_t>(_mm256_movemask_epi8(c1));
            p = VisitCandidates(p, low | high << 32);
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

#if defined(VOKABIX_HAS_AVX2_PATH)
// cpuid tells what the processor has; XGETBV tells whether the system saves
// the YMM registers on a task switch (XCR0 bits 1 and 2), without which AVX
// instructions fault or lose state.
bool ProcessorRunsAvx2()
{
    unsigned a = 0;
    unsigned b = 0;
    unsigned c = 0;
    unsigned d = 0;
    if (__get_cpuid_max(0, nullptr) < 7 || __get_cpuid(1, &a, &b, &c, &d) == 0)
        return false;
    if ((c & bit_OSXSAVE) == 0 || (c & bit_AVX) == 0)
        return false;
    unsigned xcr0Low = 0;
    unsigned xcr0High = 0;
    __asm__ volatile("xgetbv" : "=a"(xcr0Low), "=d"(xcr0High) : "c"(0));
    if ((xcr0Low & 0x6) != 0x6)
        return false;
    __cpuid_count(7, 0, a, b, c, d);
    return (b & bit_AVX2) != 0;
}
#endif

ScanPaths FindRunnableScanPaths()
{
    ScanPaths paths{{ScanPath::Portable}, 1};
#if defined(__SSE2__)
    paths.path[paths.count++] = ScanPath::Sse2;
#endif
#if defined(VOKABIX_HAS_AVX2_PATH)
    if (ProcessorRunsAvx2())
        paths.path[paths.count++] = ScanPath::Avx2;
#endif
    return paths;
}

} // namespace

ScanPaths RunnableScanPaths()
{
    static const ScanPaths paths = FindRunnableScanPaths();
    return paths;
}

const char* ScanPathName(ScanPath path)
{
    switch (path) {
    case ScanPath::Portable:
        return "portable";
    case ScanPath::Sse2:
        return "SSE2";
    case ScanPath::Avx2:
        return "AVX2";
    }
    return "?";
}

int32_t ScanDictionaryOn(ScanPath path, const unsigned char* view, uint32_t dataBegin, uint32_t dataEnd,
                         const unsigned char* text, uint32_t length, ResultList& list)
{
    if (view == nullptr || dataBegin >= dataEnd || list.resultCapacity <= 0)
        return 0;
    const ScanPaths runnable = RunnableScanPaths();
    if (path > runnable.path[runnable.count - 1])
        path = runnable.path[runnable.count - 1];
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
        scan.Run(begin + 2, path);
    return recorder.Finish();
}

int32_t ScanDictionary(const unsigned char* view, uint32_t dataBegin, uint32_t dataEnd,
                       const unsigned char* text, uint32_t length, ResultList& list)
{
    const ScanPaths runnable = RunnableScanPaths();
    return ScanDictionaryOn(runnable.path[runnable.count - 1], view, dataBegin, dataEnd, text, length, list);
}

int32_t SearchDictionary(const DictionaryView& dictionary, const unsigned char* text, uint32_t length,
                         ResultList& list)
{
    list.rowStride = kResultStride;
    const uint32_t bytes = DataBytes(dictionary.view, dictionary.fileSize, dictionary.headerOffset);
    const uint32_t begin = bytes == 0 ? 0 : dictionary.headerOffset;
    list.resultCount = ScanDictionary(dictionary.view, begin, begin + bytes, text, length, list);
    return list.resultCount;
}
