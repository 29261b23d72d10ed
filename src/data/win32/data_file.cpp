#include "data_file.h"

bool IsReadOnlyFile(const char* fileName)
{
    const DWORD attributes = GetFileAttributesA(fileName);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool OpenDataFile(const char* fileName, MappedFile& file)
{
    file.Close();
    return !IsReadOnlyFile(fileName) && file.OpenHeld(fileName);
}

void IdentifyFile(HANDLE file, FileIdentity& identity, uint64_t& size)
{
    BY_HANDLE_FILE_INFORMATION information{};
    identity = FileIdentity{};
    size = 0;
    if (!GetFileInformationByHandle(file, &information))
        return;
    identity.known = true;
    identity.volume = information.dwVolumeSerialNumber;
    identity.index = static_cast<uint64_t>(information.nFileIndexHigh) << 32 | information.nFileIndexLow;
    size = static_cast<uint64_t>(information.nFileSizeHigh) << 32 | information.nFileSizeLow;
}
