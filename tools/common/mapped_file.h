// A read-only view of a whole file for the command-line tools and the
// benchmark. Closing is automatic.
#pragma once
#include <cstdint>
#include <string>

class MappedFile {
public:
    MappedFile() = default;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    // False with a reason in error when the file cannot be opened, is not a
    // regular file, or is 4 GiB or larger (dictionary offsets are 32-bit).
    // An empty file opens with a null view.
    bool Open(const std::string& path, std::string& error);

    const unsigned char* View() const { return view_; }
    uint32_t Size() const { return size_; }

private:
    void Close();

    const unsigned char* view_ = nullptr;
    uint32_t size_ = 0;
#ifdef _WIN32
    void* file_ = nullptr;
    void* mapping_ = nullptr;
#endif
};
