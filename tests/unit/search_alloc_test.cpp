// The search runs inside the window procedure on a fixed table: it must not
// touch the heap. Operator new and, with glibc, malloc are replaced in this
// test binary and counted while a flag is set; the rest of the binary (gtest
// included) allocates as usual.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "data/search.h"
#include "test_bytes.h"

namespace {
std::atomic<bool> g_counting{false};
std::atomic<int> g_newCalls{0};
std::atomic<int> g_mallocCalls{0};

void* CountedNew(std::size_t size)
{
    if (g_counting.load(std::memory_order_relaxed))
        g_newCalls.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
} // namespace

// The array, nothrow and sized forms of the library all come through these.
void* operator new(std::size_t size) { return CountedNew(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

// Sanitizers bring their own malloc, which must stay in charge.
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer) || __has_feature(thread_sanitizer)
#define VOKABIX_OWN_MALLOC 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VOKABIX_OWN_MALLOC 1
#endif
#if defined(__GLIBC__) && !defined(VOKABIX_OWN_MALLOC)
#define VOKABIX_COUNT_MALLOC 1
#endif

#if defined(VOKABIX_COUNT_MALLOC)
// glibc lets a program interpose malloc and friends and keeps its own under
// these names, so C-level allocations are seen too.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);

void* malloc(std::size_t size) noexcept
{
    if (g_counting.load(std::memory_order_relaxed))
        g_mallocCalls.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) noexcept
{
    if (g_counting.load(std::memory_order_relaxed))
        g_mallocCalls.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}
void* realloc(void* p, std::size_t size) noexcept
{
    if (g_counting.load(std::memory_order_relaxed))
        g_mallocCalls.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(p, size);
}
}
#endif

namespace {

struct Counting {
    Counting()
    {
        g_newCalls = 0;
        g_mallocCalls = 0;
        g_counting = true;
    }
    ~Counting() { g_counting = false; }
};

// Opaque to the optimiser, so the allocations of the self-check are not
// folded away.
void* (*volatile g_malloc)(std::size_t) = std::malloc;
std::string* volatile g_string;

TEST(SearchAllocation, TheCounterSeesAllocations)
{
    {
        Counting counting;
        g_string = new std::string(100, 'x');
    }
    delete g_string;
    EXPECT_GE(g_newCalls.load(), 1);
#if defined(VOKABIX_COUNT_MALLOC)
    void* p;
    {
        Counting counting;
        p = g_malloc(64);
    }
    std::free(p);
    EXPECT_EQ(g_mallocCalls.load(), 1);
#endif
}

TEST(SearchAllocation, SearchingAllocatesNothing)
{
    // A few megabytes with every kind of line the scan treats differently,
    // and more than 500 matches for the short texts.
    std::string data;
    int32_t yards = 0;
    for (int i = 0; i < 60000; ++i) {
        data += FixedLine((i % 3 ? "Haus" : "\xFC" "ber") + std::to_string(i), "house");
        if (i % 211 == 0) {
            data += "\r\n  12 (Hof*yard\r\n";
            ++yards;
        }
    }
    const std::string file = GerEngFile(data);
    const uint32_t header = FindHeaderEnd(Bytes(file), Size(file), "GerEng Data Starts Here:");
    static ResultList list;
    InitResultList(list);

    const std::string texts[] = {"H", "Haus1", "\xFC" "ber", "Hof", "Haus\r\n", " 1", "nirgends", "Haus9999*"};
    int32_t counts[std::size(texts)];
    const ScanPaths paths = RunnableScanPaths();
    for (uint32_t p = 0; p < paths.count; ++p) {
        SCOPED_TRACE(ScanPathName(paths.path[p]));
        {
            Counting counting;
            for (size_t t = 0; t < std::size(texts); ++t) {
                if (p + 1 == paths.count) {
                    SearchDictionary({Bytes(file), Size(file), header}, Bytes(texts[t]), Size(texts[t]), list);
                    counts[t] = list.resultCount;
                } else {
                    counts[t] = ScanDictionaryOn(paths.path[p], Bytes(file), header, Size(file), Bytes(texts[t]),
                                                 Size(texts[t]), list);
                }
            }
        }
        EXPECT_EQ(g_newCalls.load(), 0);
        EXPECT_EQ(g_mallocCalls.load(), 0);
        // The searches did run over the whole file.
        EXPECT_EQ(counts[0], kResultCapacity);
        EXPECT_EQ(counts[3], yards);
        EXPECT_EQ(counts[6], 0);
    }
}

} // namespace
