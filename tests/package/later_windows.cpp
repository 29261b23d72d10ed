// An exe that imports four functions Windows XP lacks, for the test
// package_check_exe_refuses_later_windows: check_exe.sh must refuse it and
// name each of them. MinGW's headers declare them all for XP, which is why
// the check looks each import up on a reviewed list instead.
#include <windows.h>

int main()
{
    DWORD oldMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS, &oldMode);      // Windows 7
    const DWORD thread = GetThreadId(nullptr);                  // Vista
    const DWORD processor = GetCurrentProcessorNumber();        // Vista
    ShutdownBlockReasonCreate(nullptr, L"");                   // Vista
    return static_cast<int>(thread + processor);
}
