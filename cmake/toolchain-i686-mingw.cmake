# The product: 32-bit Windows, built with the posix-thread MinGW compilers
# (the win32-thread ones lack std::mutex, which googletest needs).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VOKABIX_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
