#include "data_file.h"

#include "../../app/app_state.h"

const char kErrorCaption[] = " ! ERROR !";

namespace {

const char kDataFileMissing[] =
    " Can't find the data file. This file must be in the same directory as Vokabix.exe";

} // namespace

void ShowDataFileError()
{
    MessageBoxA(app.mainWindow, kDataFileMissing, kErrorCaption, MB_OK);
}

bool IsReadOnlyFile(const char* fileName)
{
    const DWORD attributes = GetFileAttributesA(fileName);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

HANDLE OpenDataFile(const char* fileName)
{
    if (IsReadOnlyFile(fileName))
        return INVALID_HANDLE_VALUE;
    return CreateFileA(fileName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

const unsigned char* MapDataFile(HANDLE file, HANDLE& mapping)
{
    mapping = CreateFileMappingA(file, nullptr, PAGE_WRITECOPY, 0, 0, nullptr);
    if (mapping == nullptr)
        return nullptr;
    return static_cast<const unsigned char*>(MapViewOfFile(mapping, FILE_MAP_COPY, 0, 0, 0));
}

uint32_t MappedSize(HANDLE file, const unsigned char* view)
{
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    return view == nullptr || high != 0 ? 0 : size;
}
