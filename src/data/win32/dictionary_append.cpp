#include "dictionary_append.h"

#include "../../app/win32_handles.h"
#include "data_file.h"

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
        DWORD done = 0;
        const BOOL ok = WriteFile(file_, bytes, length, &done, nullptr);
        written = done;
        return ok != FALSE;
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

} // namespace

AppendResult AppendEntryRecord(const char* fileName, const EntryRecord& record)
{
    if (IsReadOnlyFile(fileName))
        return AppendResult::NotWritten;
    ScopedHandle file(
        CreateFileA(fileName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return AppendResult::NotWritten;
    FileAppendTarget target(file.Get());
    const AppendResult result = AppendLine(target, record.bytes, record.length);
    // Once flushed the line is on disk, whatever the close then says.
    file.Close();
    return result;
}
