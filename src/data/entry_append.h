// Appending one composed line to a dictionary file so that either the whole
// line is in the file or none of it: a write that fails part way is cut
// back to the size the file had before.
#pragma once
#include <cstdint>

// What the append needs of an open file; the platform layer and the tests
// provide it.
class AppendTarget {
public:
    virtual ~AppendTarget() = default;
    virtual bool Size(uint64_t& size) = 0;
    // Reads count bytes from offset; false unless all of them arrive.
    virtual bool ReadAt(uint64_t offset, unsigned char* bytes, uint32_t count) = 0;
    // Writes at the end of the file; written receives the bytes that got
    // there, also when the call fails. A call may take fewer bytes than
    // asked and still succeed, as on a disk that is filling up.
    virtual bool WriteAtEnd(const unsigned char* bytes, uint32_t length, uint32_t& written) = 0;
    virtual bool Truncate(uint64_t size) = 0;
    virtual bool Flush() = 0;
};

enum class AppendResult {
    Appended,   // the whole line is in the file and flushed
    NotWritten, // nothing of it is in the file
    Damaged,    // the write failed and cutting back failed too
};

// The longest line the append takes; longer ones are not written.
constexpr uint32_t kMaxAppendLine = 200;

// A file whose last line has no CR LF (as editors often save it), or only
// its CR, gets what is missing in front of the new line, in the same write:
// the new entry always starts a line of its own, and every byte that was in
// the file stays as it was.
AppendResult AppendLine(AppendTarget& file, const unsigned char* line, uint32_t length);
