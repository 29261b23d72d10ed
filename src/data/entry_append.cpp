#include "entry_append.h"

AppendResult AppendLine(AppendTarget& file, const unsigned char* line, uint32_t length)
{
    uint64_t before = 0;
    if (!file.Size(before))
        return AppendResult::NotWritten;
    uint32_t written = 0;
    const bool wrote = file.WriteAtEnd(line, length, written);
    if (wrote && written == length && file.Flush())
        return AppendResult::Appended;
    // A partial line would join the next entry appended; take it out again.
    uint64_t after = 0;
    if (file.Size(after) && after == before)
        return AppendResult::NotWritten;
    return file.Truncate(before) ? AppendResult::NotWritten : AppendResult::Damaged;
}
