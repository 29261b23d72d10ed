// MappedFile: one file mapped whole into memory, for the program's data
// files and for the command-line tools alike. It owns the file, its mapping
// and the view, and gives them back in one order (view, mapping, file)
// whenever it is closed, replaced or destroyed, so no path can leak one of
// them or release them the other way round.
#pragma once
#include <cstdint>
#include <string>

struct MappedFile {
    // The open file; null while none is open. The POSIX build closes the
    // descriptor once the view is made, so there only view and fileSize
    // tell an open file.
    void* fileHandle = nullptr;
    void* mappingHandle = nullptr;
    // The first byte of the file; null for an empty file, which cannot be
    // mapped, and for a file the mapping failed on.
    const unsigned char* view = nullptr;
    // The bytes the view reaches; 0 without a view.
    uint32_t fileSize = 0;

    MappedFile() = default;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    // Moving hands the file over; the one moved into lets go of its own
    // first. That is how the program-wide state is put back to its start.
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    ~MappedFile();

    // For the tools: read-only, shared with other readers. False with a
    // reason in error when the file cannot be opened, is not a regular file
    // or is 4 GiB or larger (dictionary offsets are 32-bit). An empty file
    // opens with a null view.
    bool OpenReadOnly(const std::string& path, std::string& error);

#ifdef _WIN32
    // For the program's data files: read and write access without sharing,
    // so no other program changes the file under the view, and a
    // copy-on-write view, so nothing the program does through it can reach
    // the file. False, with nothing held, when the file cannot be opened. A
    // file that opens but cannot be mapped stays open with a null view, and
    // one beyond what 32-bit offsets reach counts as empty.
    bool OpenHeld(const char* path);
#endif

    void Close();
};
