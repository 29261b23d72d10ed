// The owner of one kernel handle, so that every path out of a function
// closes what it opened. The one owner of a mapped file is MappedFile
// (mapping/mapped_file.h); GDI objects have theirs in state/gdi_owners.h.
#pragma once
#include <windows.h>

class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ~ScopedHandle()
    {
        if (Valid())
            CloseHandle(handle_);
    }
    bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    // Closes now and reports whether the close succeeded.
    bool Close()
    {
        const BOOL ok = Valid() ? CloseHandle(handle_) : FALSE;
        handle_ = nullptr;
        return ok != FALSE;
    }

private:
    HANDLE handle_;
};
