#include "mapped_file.h"

#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
constexpr uint64_t kMaxSize = 0xFFFFFFFFull;
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : fileHandle(std::exchange(other.fileHandle, nullptr)),
      mappingHandle(std::exchange(other.mappingHandle, nullptr)), view(std::exchange(other.view, nullptr)),
      fileSize(std::exchange(other.fileSize, 0))
{
}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept
{
    if (this != &other) {
        Close();
        fileHandle = std::exchange(other.fileHandle, nullptr);
        mappingHandle = std::exchange(other.mappingHandle, nullptr);
        view = std::exchange(other.view, nullptr);
        fileSize = std::exchange(other.fileSize, 0);
    }
    return *this;
}

MappedFile::~MappedFile()
{
    Close();
}

#ifdef _WIN32

bool MappedFile::OpenReadOnly(const std::string& path, std::string& error)
{
    Close();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = "cannot open (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    fileHandle = file;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || static_cast<uint64_t>(size.QuadPart) >= kMaxSize) {
        error = "file too large or size unknown";
        Close();
        return false;
    }
    if (size.QuadPart == 0)
        return true;
    mappingHandle = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mappingHandle != nullptr)
        view = static_cast<const unsigned char*>(MapViewOfFile(mappingHandle, FILE_MAP_READ, 0, 0, 0));
    if (view == nullptr) {
        error = "cannot map (error " + std::to_string(GetLastError()) + ")";
        Close();
        return false;
    }
    fileSize = static_cast<uint32_t>(size.QuadPart);
    return true;
}

bool MappedFile::OpenHeld(const char* path)
{
    Close();
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    fileHandle = file;
    mappingHandle = CreateFileMappingA(file, nullptr, PAGE_WRITECOPY, 0, 0, nullptr);
    if (mappingHandle != nullptr)
        view = static_cast<const unsigned char*>(MapViewOfFile(mappingHandle, FILE_MAP_COPY, 0, 0, 0));
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    fileSize = view == nullptr || high != 0 ? 0 : low;
    return true;
}

void MappedFile::Close()
{
    if (view != nullptr)
        UnmapViewOfFile(view);
    if (mappingHandle != nullptr)
        CloseHandle(mappingHandle);
    if (fileHandle != nullptr)
        CloseHandle(fileHandle);
    view = nullptr;
    mappingHandle = nullptr;
    fileHandle = nullptr;
    fileSize = 0;
}

#else

bool MappedFile::OpenReadOnly(const std::string& path, std::string& error)
{
    Close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = "not a regular file";
        ::close(fd);
        return false;
    }
    if (static_cast<uint64_t>(info.st_size) >= kMaxSize) {
        error = "file too large (4 GiB or more)";
        ::close(fd);
        return false;
    }
    const auto size = static_cast<uint32_t>(info.st_size);
    if (size != 0) {
        void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (mapped == MAP_FAILED) {
            error = std::strerror(errno);
            ::close(fd);
            return false;
        }
        view = static_cast<const unsigned char*>(mapped);
        fileSize = size;
    }
    ::close(fd);
    return true;
}

void MappedFile::Close()
{
    if (view != nullptr)
        ::munmap(const_cast<unsigned char*>(view), fileSize);
    view = nullptr;
    fileSize = 0;
}

#endif
