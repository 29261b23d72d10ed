// A window call, linked beside the file layer into its probe by the test
// layering_probe_refuses_window_call: the link must fail on it.
#include <windows.h>

int PlantedWindowCall()
{
    return MessageBoxA(nullptr, "planted", "planted", MB_OK);
}
