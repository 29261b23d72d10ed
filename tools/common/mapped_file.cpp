#include "mapped_file.h"

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

MappedFile::~MappedFile()
{
    Close();
}

#ifdef _WIN32

bool MappedFile::Open(const std::string& path, std::string& error)
{
    Close();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = "cannot open (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    file_ = file;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || static_cast<uint64_t>(size.QuadPart) >= kMaxSize) {
        error = "file too large or size unknown";
        Close();
        return false;
    }
    size_ = static_cast<uint32_t>(size.QuadPart);
    if (size_ == 0)
        return true;
    mapping_ = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping_ != nullptr)
        view_ = static_cast<const unsigned char*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0));
    if (view_ == nullptr) {
        error = "cannot map (error " + std::to_string(GetLastError()) + ")";
        Close();
        return false;
    }
    return true;
}

void MappedFile::Close()
{
    if (view_ != nullptr)
        UnmapViewOfFile(view_);
    if (mapping_ != nullptr)
        CloseHandle(mapping_);
    if (file_ != nullptr)
        CloseHandle(file_);
    view_ = nullptr;
    mapping_ = nullptr;
    file_ = nullptr;
    size_ = 0;
}

#else

bool MappedFile::Open(const std::string& path, std::string& error)
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
    size_ = static_cast<uint32_t>(info.st_size);
    if (size_ != 0) {
        void* view = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
        if (view == MAP_FAILED) {
            error = std::strerror(errno);
            size_ = 0;
            ::close(fd);
            return false;
        }
        view_ = static_cast<const unsigned char*>(view);
    }
    ::close(fd);
    return true;
}

void MappedFile::Close()
{
    if (view_ != nullptr)
        ::munmap(const_cast<unsigned char*>(view_), size_);
    view_ = nullptr;
    size_ = 0;
}

#endif
