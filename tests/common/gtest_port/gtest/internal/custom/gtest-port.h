// googletest's own place for a platform's configuration, found before the
// empty one it ships. The Windows programs are built with the win32-thread
// MinGW compilers, whose C++ library has no std::mutex or
// std::condition_variable; googletest needs them only for its Notification,
// which this gives it on a Windows event instead. (The posix-thread
// compilers would bring in winpthreads, and with it imports that Windows XP
// lacks.)
#ifndef VOKABIX_GTEST_CUSTOM_PORT_H
#define VOKABIX_GTEST_CUSTOM_PORT_H

#if defined(__MINGW32__) && !defined(_GLIBCXX_HAS_GTHREADS)
#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
public:
    Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    ~Notification() { CloseHandle(event_); }
    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

private:
    HANDLE event_;
};

} // namespace internal
} // namespace testing
#endif

#endif
