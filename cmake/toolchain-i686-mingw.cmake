# The product: 32-bit Windows, built with the win32-thread MinGW compilers.
# The posix-thread ones link winpthreads, which imports GetTickCount64, and
# Windows XP refuses to start an exe that imports what it lacks.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VOKABIX_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# SSE2 lets the dictionary scan test 64 bytes at a time; every processor that
# runs a Windows still in use has it.
set(CMAKE_C_FLAGS_INIT "-msse2")
set(CMAKE_CXX_FLAGS_INIT "-msse2")
