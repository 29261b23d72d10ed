// Shared by the fuzz targets: how a broken rule is reported, and how an
// input is handed to the engine.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

// A broken rule is a finding: name it, then stop in the way libFuzzer (and
// ctest, for the replayed corpus) takes for a crash.
#define FUZZ_CHECK(condition)                                                                    \
    do {                                                                                         \
        if (!(condition)) {                                                                      \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);         \
            std::abort();                                                                        \
        }                                                                                        \
    } while (0)

// Bytes copied into a heap block of exactly their size. The engine reads a
// mapped file in place, so a read one byte past the end must show up here as
// an AddressSanitizer report rather than land in a neighbouring byte.
class ExactCopy {
public:
    ExactCopy(const uint8_t* data, size_t size) : bytes_(new unsigned char[size]), size_(size)
    {
        if (size != 0)
            std::memcpy(bytes_.get(), data, size);
    }
    const unsigned char* data() const { return bytes_.get(); }
    uint32_t size() const { return static_cast<uint32_t>(size_); }

private:
    std::unique_ptr<unsigned char[]> bytes_;
    size_t size_;
};

inline bool IsCrLfAt(const unsigned char* bytes, uint64_t at, uint64_t end)
{
    return at + 1 < end && bytes[at] == '\r' && bytes[at + 1] == '\n';
}
