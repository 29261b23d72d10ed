// Vokabix: an offline German/English dictionary.
#include <windows.h>

#include "startup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    StartUp(GetModuleHandleA(nullptr));
    ExitProcess(static_cast<UINT>(RunMessageLoop()));
}
