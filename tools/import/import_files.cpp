#include "import_files.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/codepage.h"
#endif

namespace {

// Reads and writes go in pieces a 32-bit count can carry.
constexpr size_t kChunkBytes = 16u << 20;

#ifdef _WIN32

FileError ErrorOf(DWORD code)
{
    FileError error;
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        error.kind = FileFailure::Missing;
        break;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        error.kind = FileFailure::InUse;
        break;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        error.kind = FileFailure::Denied;
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        error.kind = FileFailure::DiskFull;
        break;
    default:
        error.kind = FileFailure::Other;
        break;
    }
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        text, sizeof text, nullptr);
    error.detail = length > 0 ? std::string(text, length) : "error " + std::to_string(code);
    while (!error.detail.empty() && (error.detail.back() == '\n' || error.detail.back() == '\r' ||
                                     error.detail.back() == ' ' || error.detail.back() == '.'))
        error.detail.pop_back();
    return error;
}

bool Failed(FileError& error)
{
    error = ErrorOf(GetLastError());
    return false;
}

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle()
    {
        if (Valid())
            CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return h_; }
    bool Close()
    {
        const bool closed = CloseHandle(h_) != FALSE;
        h_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE h_;
};

#else

FileError ErrorOf(int code)
{
    FileError error;
    switch (code) {
    case ENOENT:
    case ENOTDIR:
        error.kind = FileFailure::Missing;
        break;
    case EBUSY:
    case ETXTBSY:
        error.kind = FileFailure::InUse;
        break;
    case EACCES:
    case EPERM:
    case EROFS:
        error.kind = FileFailure::Denied;
        break;
    case ENOSPC:
    case EDQUOT:
        error.kind = FileFailure::DiskFull;
        break;
    default:
        error.kind = FileFailure::Other;
        break;
    }
    error.detail = std::strerror(code);
    return error;
}

bool Failed(FileError& error)
{
    error = ErrorOf(errno);
    return false;
}

#endif

} // namespace

#ifdef _WIN32

bool ReadWholeFile(const std::string& path, std::string& bytes, FileError& error)
{
    Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file.Valid() || !GetFileSizeEx(file.Get(), &size))
        return Failed(error);
    bytes.resize(static_cast<size_t>(size.QuadPart));
    for (size_t done = 0; done < bytes.size();) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(bytes.size() - done < kChunkBytes ? bytes.size() - done : kChunkBytes);
        if (!ReadFile(file.Get(), &bytes[done], want, &got, nullptr))
            return Failed(error);
        if (got == 0) {
            error = {FileFailure::Other, "the file ended early"};
            return false;
        }
        done += got;
    }
    return true;
}

bool WriteNewFile(const std::string& path, const std::vector<std::string_view>& pieces, FileError& error)
{
    Handle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return Failed(error);
    for (const std::string_view piece : pieces) {
        // A filling disk takes part of a write and reports success; the
        // next call fails and names it.
        for (size_t done = 0; done < piece.size();) {
            DWORD wrote = 0;
            const DWORD want = static_cast<DWORD>(piece.size() - done < kChunkBytes ? piece.size() - done : kChunkBytes);
            if (!WriteFile(file.Get(), piece.data() + done, want, &wrote, nullptr))
                return Failed(error);
            if (wrote == 0) {
                error = ErrorOf(ERROR_DISK_FULL);
                return false;
            }
            done += wrote;
        }
    }
    if (!FlushFileBuffers(file.Get()) || !file.Close())
        return Failed(error);
    return true;
}

bool CanBeReplaced(const std::string& path, FileError& error)
{
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
            return true;
        error = ErrorOf(code);
        return false;
    }
    // Asking for delete access without sharing fails, with a sharing
    // violation, exactly while another program holds the file.
    Handle file(CreateFileA(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() || Failed(error);
}

bool MoveReplacing(const std::string& from, const std::string& to, FileError& error)
{
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ||
           Failed(error);
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveFileQuietly(const std::string& path)
{
    DeleteFileA(path.c_str());
}

std::string ForTheConsole(const std::string& cp1252)
{
    DWORD mode = 0;
    if (cp1252.empty() || !GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode))
        return cp1252;
    std::wstring wide(cp1252.size(), L'\0');
    const int wideLength =
        MultiByteToWideChar(1252, 0, cp1252.data(), static_cast<int>(cp1252.size()), &wide[0], static_cast<int>(wide.size()));
    std::string out(cp1252.size() * 4, '\0');
    const int length = WideCharToMultiByte(GetConsoleOutputCP(), 0, wide.data(), wideLength, &out[0],
                                           static_cast<int>(out.size()), nullptr, nullptr);
    return length > 0 ? out.substr(0, static_cast<size_t>(length)) : cp1252;
}

#else

bool ReadWholeFile(const std::string& path, std::string& bytes, FileError& error)
{
    const int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return Failed(error);
    struct stat info;
    bool ok = fstat(fd, &info) == 0 || Failed(error);
    if (ok)
        bytes.resize(static_cast<size_t>(info.st_size));
    for (size_t done = 0; ok && done < bytes.size();) {
        const ssize_t got = read(fd, &bytes[done], bytes.size() - done < kChunkBytes ? bytes.size() - done : kChunkBytes);
        if (got <= 0) {
            ok = got < 0 ? Failed(error) : false;
            if (got == 0)
                error = {FileFailure::Other, "the file ended early"};
        } else {
            done += static_cast<size_t>(got);
        }
    }
    close(fd);
    return ok;
}

bool WriteNewFile(const std::string& path, const std::vector<std::string_view>& pieces, FileError& error)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return Failed(error);
    bool ok = true;
    for (size_t i = 0; ok && i < pieces.size(); ++i) {
        for (size_t done = 0; ok && done < pieces[i].size();) {
            const size_t rest = pieces[i].size() - done;
            const ssize_t wrote = write(fd, pieces[i].data() + done, rest < kChunkBytes ? rest : kChunkBytes);
            if (wrote > 0)
                done += static_cast<size_t>(wrote);
            else if (wrote == 0)
                ok = (error = ErrorOf(ENOSPC), false);
            else
                ok = Failed(error);
        }
    }
    ok = ok && (fsync(fd) == 0 || Failed(error));
    ok = close(fd) == 0 ? ok : ok && Failed(error);
    return ok;
}

bool CanBeReplaced(const std::string& path, FileError& error)
{
    struct stat info;
    if (lstat(path.c_str(), &info) != 0)
        return errno == ENOENT || Failed(error);
    if (S_ISDIR(info.st_mode)) {
        error = {FileFailure::Other, "it is a folder"};
        return false;
    }
    return true;
}

bool MoveReplacing(const std::string& from, const std::string& to, FileError& error)
{
    return rename(from.c_str(), to.c_str()) == 0 || Failed(error);
}

bool FileExists(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

void RemoveFileQuietly(const std::string& path)
{
    unlink(path.c_str());
}

std::string ForTheConsole(const std::string& cp1252)
{
    return Cp1252ToUtf8(cp1252.data(), cp1252.size());
}

#endif
