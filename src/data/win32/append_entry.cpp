#include "append_entry.h"

#include "../../app/app_state.h"
#include "dictionary_file.h"

int32_t appendWriteLimitForTests = -1;

const char kEntryNotWrittenMessage[] =
    "The entry was not added: the data file could not be written. It may be read-only, missing "
    "or in use by another program. Your text is still in the field.";
const char kEntryDamagedMessage[] =
    "The entry was not added: writing to the data file failed part way, and the part already written "
    "could not be taken out again, so the file may now end with a partial line. The next entry "
    "added starts on a line of its own. Your text is still in the field.";
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

// Shows a box owned by the dialog, and tells whether the add path may go
// on afterwards: the box runs its own message loop, in which the user can
// still close both dialogs (and with them the dictionary) from the search
// dialog. Whatever the path would do then belongs to a dialog that is gone.
bool BoxAndStillOpen(HWND dialog, const char* text, const char* caption, UINT type)
{
    const char* const fileName = app.dictionary.fileName;
    const uint32_t generation = app.dictionary.generation;
    MessageBoxA(dialog, text, caption, type);
    return app.addWordDialog == dialog && IsWindow(dialog) && app.dictionary.fileName == fileName &&
           app.dictionary.generation == generation;
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

void AppendEntry(HWND dialog)
{
    unsigned char text[kMaxEntryBytes + 1] = {};
    const int length = GetDlgItemTextA(dialog, IDC_ENTRY_EDIT, reinterpret_cast<char*>(text), sizeof(text));
    const EntryAddition addition =
        AddEntryToDictionary(text, length > 0 ? static_cast<uint32_t>(length) : 0, app.direction);

    switch (addition.compose) {
    case ComposeOutcome::Composed:
        break;
    case ComposeOutcome::NothingToAdd:
        return;
    case ComposeOutcome::NoSourceMarker:
        BoxAndStillOpen(dialog, addition.message, kSourceEntryErrorCaption, MB_YESNO | MB_DEFBUTTON2);
        return;
    case ComposeOutcome::SourceTooLong:
    case ComposeOutcome::NoLetterFirst:
    case ComposeOutcome::EmptyPart: {
        const char* message =
            addition.compose == ComposeOutcome::EmptyPart ? kEntryNeedsBothPartsMessage : addition.message;
        if (BoxAndStillOpen(dialog, message, kSourceEntryErrorCaption, MB_YESNO | MB_DEFBUTTON2))
            SetFocus(dialog);
        return;
    }
    }

    // The field keeps the text until the whole line is on disk.
    if (addition.append == AppendResult::Appended) {
        SetDlgItemTextA(dialog, IDC_ENTRY_EDIT, nullptr);
    } else {
        const char* message =
            addition.append == AppendResult::Damaged ? kEntryDamagedMessage : kEntryNotWrittenMessage;
        if (!BoxAndStillOpen(dialog, message, kErrorCaption, MB_OK))
            return;
    }
    ReopenDictionaryAfterAppend();
}
