#include "dictionary_file.h"

#include "../dictionary_format.h"
#include "data_file.h"

namespace {

bool OpenAndIdentify(DictionaryFile& d)
{
    if (!OpenDataFile(d.fileName, d))
        return false;
    IdentifyFile(d.fileHandle, d.identity, d.sizeAtOpen);
    return true;
}

} // namespace

bool OpenDictionaryFile(DictionaryFile& d)
{
    if (!OpenAndIdentify(d))
        return false;
    ++d.generation;
    return true;
}

Reopened ReopenDictionaryFile(DictionaryFile& d, const AppendOutcome& appended)
{
    const FileIdentity listed = d.identity;
    const uint64_t listedSize = d.sizeAtOpen;
    if (!OpenAndIdentify(d))
        return Reopened::NotOpened;
    // An append that never opened the file changed nothing in it; one that
    // did must have found the same file, as long as the list's file was.
    const bool appendedToIt =
        !appended.identity.known || (SameFile(appended.identity, listed) && appended.sizeBefore == listedSize);
    if (SameFile(d.identity, listed) && d.sizeAtOpen >= listedSize && appendedToIt)
        return Reopened::SameFile;
    ++d.generation;
    return Reopened::OtherFile;
}

void SkipDictionaryHeader(DictionaryFile& d, const char* marker)
{
    d.headerOffset = FindHeaderEnd(d.view, d.fileSize, marker);
}

void CloseDictionaryFile(DictionaryFile& d)
{
    d.Close();
}

DictionaryView SearchableBytes(const DictionaryFile& d)
{
    return {d.view, d.fileSize, d.headerOffset};
}
