// The search as the 32-bit product compiles it, run as a bare i386 Linux
// process (see scripts/check-i686-search): no C library and no Wine, only
// the i686 MinGW compiler's code for the scan. Random files against the
// byte-at-a-time walk on every path the processor runs, with the data flush
// against unreadable pages on both sides.
#include <cstddef>
#include <cstdint>

#include "data/search.h"
#include "reference_search.h"

// What the scan and the walk need from a C library, and a function-local
// static on one thread.
extern "C" {
void* memchr(const void* s, int c, size_t n)
{
    for (auto p = static_cast<const unsigned char*>(s); n != 0; --n, ++p)
        if (*p == static_cast<unsigned char>(c))
            return const_cast<unsigned char*>(p);
    return nullptr;
}
int memcmp(const void* x, const void* y, size_t n)
{
    auto a = static_cast<const unsigned char*>(x);
    auto b = static_cast<const unsigned char*>(y);
    for (; n != 0; --n, ++a, ++b)
        if (*a != *b)
            return *a - *b;
    return 0;
}
void* memset(void* to, int c, size_t n)
{
    for (auto a = static_cast<unsigned char*>(to); n != 0; --n)
        *a++ = static_cast<unsigned char>(c);
    return to;
}
int __cxa_guard_acquire(uint64_t* guard) { return *reinterpret_cast<char*>(guard) == 0; }
void __cxa_guard_release(uint64_t* guard) { *reinterpret_cast<char*>(guard) = 1; }
void __cxa_guard_abort(uint64_t*) {}
}

namespace {

long Call(long number, long a, long b, long c)
{
    long result;
    __asm__ volatile("int $0x80" : "=a"(result) : "a"(number), "b"(a), "c"(b), "d"(c) : "memory");
    return result;
}

void Print(const char* text)
{
    long n = 0;
    while (text[n] != 0)
        ++n;
    Call(4, 1, reinterpret_cast<long>(text), n);
}

uint32_t g_state = 20151;
uint32_t Random()
{
    g_state ^= g_state << 13;
    g_state ^= g_state >> 17;
    g_state ^= g_state << 5;
    return g_state;
}

const char kAlphabet[] = {'\r', '\n', '*', ' ', '7', 'a', 'b', 'S', 'z', '\xFC', '(', '@', '{', '\xDF'};
const char* const kPieces[] = {"\r\n", "\r\n", "\r\n", "a", "ab", "S", "Sa", "\xFC" "b", "b", "*", " ",
                               "7",    "(",    "\r",   "\n", "\n\r", "\r\r\n", "aaaa", "ab*1\r\n"};

// Lines, runs of lines that start alike, and stretches without any
// word-start byte that span several wide steps.
void RandomFile(unsigned char* at, uint32_t size)
{
    const bool dense = Random() % 4 == 0;
    uint32_t n = 0;
    while (n < size) {
        if (!dense && Random() % 30 == 0) {
            for (uint32_t run = Random() % 150; run != 0 && n < size; --run)
                at[n++] = static_cast<unsigned char>(" \r\n7*(@{\xDF"[Random() % 9]);
            continue;
        }
        const char* piece = dense  ? (Random() % 4 ? "a*1\r\n" : "ab\r\n")
                            : kPieces[Random() % (sizeof kPieces / sizeof *kPieces)];
        for (; *piece != 0 && n < size; ++piece)
            at[n++] = static_cast<unsigned char>(*piece);
    }
}

unsigned char g_arena[5 * 4096];
ResultList g_list;
ResultRecord g_expected[kResultCapacity];

} // namespace

extern "C" int SearchOnI386()
{
    const uint32_t page = 4096;
    unsigned char* const first = reinterpret_cast<unsigned char*>(
        (reinterpret_cast<uintptr_t>(g_arena) + page - 1) & ~static_cast<uintptr_t>(page - 1));
    unsigned char* const middle = first + page;
    if (Call(125, reinterpret_cast<long>(first), page, 0) != 0 ||
        Call(125, reinterpret_cast<long>(middle + page), page, 0) != 0) {
        Print("mprotect failed\n");
        return 3;
    }
    const ScanPaths paths = RunnableScanPaths();
    Print("paths:");
    for (uint32_t p = 0; p < paths.count; ++p) {
        Print(" ");
        Print(ScanPathName(paths.path[p]));
    }
    Print("\n");
    constexpr uint32_t kRounds = 4000;
    constexpr uint32_t kTexts = 6;
    uint32_t matched = 0;
    for (uint32_t round = 0; round < kRounds; ++round) {
        const uint32_t size = Random() % (round % 2 ? page + 1 : 600);
        unsigned char* const at = Random() % 2 ? middle + page - size : middle;
        RandomFile(at, size);
        for (uint32_t k = 0; k < kTexts; ++k) {
            // Mostly texts from where a line seems to start, so they match.
            unsigned char text[8];
            const uint32_t length = 1 + Random() % 6;
            uint32_t from = size == 0 ? 0 : Random() % size;
            while (from < size && at[from] != '\n')
                ++from;
            while (from < size && !IsWordStart(at[from]))
                ++from;
            const bool copied = Random() % 3 != 0;
            for (uint32_t i = 0; i < length; ++i) {
                const char letter = kAlphabet[Random() % sizeof kAlphabet];
                text[i] = copied && from + i < size ? at[from + i] : static_cast<unsigned char>(letter);
            }
            const int32_t want = ReferenceScan(at, 0, size, text, length, g_expected);
            for (uint32_t p = 0; p < paths.count; ++p) {
                InitResultList(g_list);
                const int32_t got = ScanDictionaryOn(paths.path[p], at, 0, size, text, length, g_list);
                if (got != want ||
                    memcmp(g_list.table.results, g_expected, static_cast<size_t>(got) * sizeof(ResultRecord)) != 0) {
                    Print(ScanPathName(paths.path[p]));
                    Print(": other records than the byte-at-a-time walk\n");
                    return 1;
                }
            }
            matched += want > 0;
        }
    }
    // A generator that stopped producing matches would prove nothing.
    if (matched < kRounds * kTexts / 3) {
        Print("too few searches found anything\n");
        return 1;
    }
    Print("every search gave the walk's records on every path\n");
    return 0;
}
