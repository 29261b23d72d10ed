// Appending one composed line to a dictionary file so that either the whole
// line is in the file or none of it: a failed or short write is cut back to
// the size the file had before.
#pragma once
#include <cstdint>

// What the append needs of an open file; the platform layer and the tests
// provide it.
class AppendTarget {
public:
    virtual ~AppendTarget() = default;
    virtual bool Size(uint64_t& size) = 0;
    // Writes at the end of the file; written receives the bytes that got
    // there, also when the call fails.
    virtual bool WriteAtEnd(const unsigned char* bytes, uint32_t length, uint32_t& written) = 0;
    virtual bool Truncate(uint64_t size) = 0;
    virtual bool Flush() = 0;
};

enum class AppendResult {
    Appended,   // the whole line is in the file and flushed
    NotWritten, // nothing of it is in the file
    Damaged,    // the write failed and cutting back failed too
};

AppendResult AppendLine(AppendTarget& file, const unsigned char* line, uint32_t length);
