// googletest hands every failure and skip message to OutputDebugStringA as
// well, for a debugger's window. That call raises an exception, and the
// 32-bit tests run under qemu's user-mode emulation, where Wine's exception
// dispatch does not survive: the test program crashed or hung at the first
// message instead of reporting it. Nobody debugs the test runs there, so the
// 32-bit test programs bind the import to a function that does nothing.
#include <windows.h>

#if defined(__i386__)
static void WINAPI IgnoreDebugString(LPCSTR)
{
}

// The name the linker would otherwise take from kernel32's import library.
extern "C" void(WINAPI* const ignoreDebugString)(LPCSTR) asm("__imp__OutputDebugStringA@4");
void(WINAPI* const ignoreDebugString)(LPCSTR) = IgnoreDebugString;
#endif
