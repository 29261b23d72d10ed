#include "dictionary_append.h"

#include "data_file.h"
#include "scoped_handle.h"

namespace {

class FileAppendTarget : public AppendTarget {
public:
    explicit FileAppendTarget(HANDLE file) : file_(file) {}

    bool Size(uint64_t& size) override
    {
        LARGE_INTEGER value;
        if (!Noted(GetFileSizeEx(file_, &value)))
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
        return Noted(ReadFile(file_, bytes, count, &got, &at)) && got == count;
    }
    bool WriteAtEnd(const unsigned char* bytes, uint32_t length, uint32_t& written) override
    {
        written = 0;
        LARGE_INTEGER zero{};
        if (!Noted(SetFilePointerEx(file_, zero, nullptr, FILE_END)))
            return false;
        DWORD done = 0;
        const BOOL ok = WriteFile(file_, bytes, length, &done, nullptr);
        written = done;
        return Noted(ok);
    }
    bool Truncate(uint64_t size) override
    {
        LARGE_INTEGER position;
        position.QuadPart = static_cast<LONGLONG>(size);
        return Noted(SetFilePointerEx(file_, position, nullptr, FILE_BEGIN)) && Noted(SetEndOfFile(file_));
    }
    bool Flush() override { return Noted(FlushFileBuffers(file_)); }

    // The code of the first call that failed: the calls after it (the
    // cut-back) fail for its sake, and would hide the cause.
    uint32_t FirstError() const { return firstError_; }

private:
    bool Noted(BOOL ok)
    {
        if (!ok && firstError_ == 0)
            firstError_ = GetLastError();
        return ok != FALSE;
    }

    HANDLE file_;
    uint32_t firstError_ = 0;
};

} // namespace

AppendOutcome AppendEntryRecord(const char* fileName, const EntryRecord& record)
{
    AppendOutcome outcome{AppendResult::NotWritten, 0, {}, 0};
    // What Windows itself answers for a read-only file, which Wine run by
    // root would open.
    if (IsReadOnlyFile(fileName)) {
        outcome.error = ERROR_ACCESS_DENIED;
        return outcome;
    }
    ScopedHandle file(
        CreateFileA(fileName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        outcome.error = GetLastError();
        return outcome;
    }
    IdentifyFile(file.Get(), outcome.identity, outcome.sizeBefore);
    FileAppendTarget target(file.Get());
    outcome.result = AppendLine(target, record.bytes, record.length);
    outcome.error = target.FirstError();
    // Once flushed the line is on disk, whatever the close then says.
    file.Close();
    return outcome;
}
