#include "append_entry.h"

#include "../../app/app_state.h"
#include "data_file.h"
#include "dictionary_file.h"

int32_t appendWriteLimitForTests = -1;

namespace {

class FileAppendTarget : public AppendTarget {
public:
    explicit FileAppendTarget(HANDLE file) : file_(file) {}

    bool Size(uint64_t& size) override
    {
        LARGE_INTEGER value;
        if (!GetFileSizeEx(file_, &value))
            return false;
        size = static_cast<uint64_t>(value.QuadPart);
        return true;
    }
    bool ReadAt(uint64_t offset, unsigned char* bytes, uint32_t count) override
    {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD got = 0;
        return ReadFile(file_, bytes, count, &got, &at) && got == count;
    }
    bool WriteAtEnd(const unsigned char* bytes, uint32_t length, uint32_t& written) override
    {
        written = 0;
        LARGE_INTEGER zero{};
        if (!SetFilePointerEx(file_, zero, nullptr, FILE_END))
            return false;
        const bool limited = appendWriteLimitForTests >= 0 && static_cast<uint32_t>(appendWriteLimitForTests) < length;
        const DWORD want = limited ? static_cast<DWORD>(appendWriteLimitForTests) : length;
        DWORD done = 0;
        const BOOL ok = want == 0 ? TRUE : WriteFile(file_, bytes, want, &done, nullptr);
        written = done;
        return ok && !limited;
    }
    bool Truncate(uint64_t size) override
    {
        LARGE_INTEGER position;
        position.QuadPart = static_cast<LONGLONG>(size);
        return SetFilePointerEx(file_, position, nullptr, FILE_BEGIN) && SetEndOfFile(file_);
    }
    bool Flush() override { return FlushFileBuffers(file_) != FALSE; }

private:
    HANDLE file_;
};

// Writes the waiting line to the end of the dictionary file. The file is
// read as well, to see whether its last line has its CR LF.
AppendResult WriteEntryRecord()
{
    if (IsReadOnlyFile(app.dictionary.fileName))
        return AppendResult::NotWritten;
    ScopedHandle file(CreateFileA(app.dictionary.fileName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return AppendResult::NotWritten;
    FileAppendTarget target(file.Get());
    const AppendResult result = AppendLine(target, app.entryRecord.bytes, app.entryRecord.length);
    // Once flushed the line is on disk, whatever the close then says.
    file.Close();
    return result;
}

} // namespace

EntryAddition AddEntryToDictionary(const unsigned char* text, uint32_t length, DictionaryDirection direction)
{
    EntryAddition addition{};
    addition.compose = ComposeEntry(text, length, direction, app.entryRecord, addition.message);
    addition.append = AppendResult::NotWritten;
    if (addition.compose != ComposeOutcome::Composed)
        return addition;
    // The file is held without sharing, so the program lets go of its own
    // view before it opens the file for writing.
    CloseDictionary();
    addition.append = WriteEntryRecord();
    for (int i = 0; i < 100; ++i)
        app.entryRecord.bytes[i] = 0;
    app.entryRecord.length = 0;
    return addition;
}
