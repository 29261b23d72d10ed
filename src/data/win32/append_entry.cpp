#include "append_entry.h"

#include "../../shell/app_state.h"
#include "../entry_append.h"
#include "dictionary_file.h"

int32_t appendWriteLimitForTests = -1;

const char kEntryNotWrittenMessage[] =
    "The entry was not added: the data file could not be written. It may be read-only, missing "
    "or in use by another program. Your text is still in the field.";
const char kEntryNeedsBothPartsMessage[] = "Nothing to add: an entry needs a source and a translation.";

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

// Writes the waiting line to the end of the dictionary file. False when the
// file could not be opened for writing or the line did not get there whole.
bool WriteEntryRecord()
{
    if (IsReadOnlyFile(app.dictionary.fileName))
        return false;
    ScopedHandle file(CreateFileA(app.dictionary.fileName, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return false;
    FileAppendTarget target(file.Get());
    const AppendResult result = AppendLine(target, app.entryRecord.bytes, app.entryRecord.length);
    // Once flushed the line is on disk, whatever the close then says.
    file.Close();
    return result == AppendResult::Appended;
}

void ShowEntryError(HWND dialog, const char* text)
{
    MessageBoxA(dialog, text, kSourceEntryErrorCaption, MB_YESNO | MB_DEFBUTTON2);
}

} // namespace

void AppendEntry(HWND dialog)
{
    unsigned char text[kMaxEntryBytes + 1] = {};
    const int length = GetDlgItemTextA(dialog, IDC_ENTRY_EDIT, reinterpret_cast<char*>(text), sizeof(text));
    char message[kComposeMessageBytes];
    const ComposeOutcome outcome =
        ComposeEntry(text, length > 0 ? static_cast<uint32_t>(length) : 0, app.direction, app.entryRecord, message);
    switch (outcome) {
    case ComposeOutcome::Composed:
        break;
    case ComposeOutcome::NoSourceMarker:
        ShowEntryError(dialog, message);
        break;
    case ComposeOutcome::SourceTooLong:
        ShowEntryError(dialog, message);
        SetFocus(dialog);
        break;
    case ComposeOutcome::EmptyPart:
        ShowEntryError(dialog, kEntryNeedsBothPartsMessage);
        SetFocus(dialog);
        break;
    case ComposeOutcome::NothingToAdd:
        break;
    }

    // The file is held without sharing, so the program lets go of its own
    // view before it opens the file for writing.
    CloseDictionary();
    if (app.entryRecord.length != 0) {
        if (WriteEntryRecord())
            SetDlgItemTextA(dialog, IDC_ENTRY_EDIT, nullptr);
        else
            MessageBoxA(dialog, kEntryNotWrittenMessage, kErrorCaption, MB_OK);
    }
    for (int i = 0; i < 100; ++i)
        app.entryRecord.bytes[i] = 0;
    app.entryRecord.length = 0;
    ReopenDictionaryAfterAppend();
}
