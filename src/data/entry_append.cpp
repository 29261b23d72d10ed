#include "entry_append.h"

#include <cstring>

namespace {

// What must come before a new line so that it starts a line of its own.
uint32_t LineBreakNeeded(AppendTarget& file, uint64_t size, unsigned char* out, bool& ok)
{
    ok = true;
    if (size == 0)
        return 0;
    unsigned char tail[2] = {};
    const uint32_t count = size >= 2 ? 2 : 1;
    if (!file.ReadAt(size - count, tail, count)) {
        ok = false;
        return 0;
    }
    const unsigned char last = tail[count - 1];
    if (last == '\n' && count == 2 && tail[0] == '\r')
        return 0;
    if (last == '\r') {
        out[0] = '\n';
        return 1;
    }
    out[0] = '\r';
    out[1] = '\n';
    return 2;
}

// A disk that fills up takes part of a write and reports success; only the
// next call fails, and its code names the cause. So a short write is
// followed by one for the rest, and only a call that fails, or that takes
// nothing, ends the line short.
bool WriteAll(AppendTarget& file, const unsigned char* bytes, uint32_t total)
{
    uint32_t done = 0;
    while (done < total) {
        uint32_t written = 0;
        const bool wrote = file.WriteAtEnd(bytes + done, total - done, written);
        if (!wrote || written == 0 || written > total - done)
            return false;
        done += written;
    }
    return true;
}

} // namespace

AppendResult AppendLine(AppendTarget& file, const unsigned char* line, uint32_t length)
{
    if (length > kMaxAppendLine)
        return AppendResult::NotWritten;
    uint64_t before = 0;
    if (!file.Size(before))
        return AppendResult::NotWritten;
    unsigned char bytes[kMaxAppendLine + 2];
    bool ok = false;
    const uint32_t lead = LineBreakNeeded(file, before, bytes, ok);
    if (!ok)
        return AppendResult::NotWritten;
    std::memcpy(bytes + lead, line, length);
    const uint32_t total = lead + length;

    if (WriteAll(file, bytes, total) && file.Flush())
        return AppendResult::Appended;
    // A partial line would join the next entry appended; take it out again.
    uint64_t after = 0;
    if (file.Size(after) && after == before)
        return AppendResult::NotWritten;
    return file.Truncate(before) ? AppendResult::NotWritten : AppendResult::Damaged;
}
