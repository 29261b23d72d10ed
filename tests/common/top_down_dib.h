// The bitmap layout the window tests read pixels in: 32 bits a pixel, rows
// from the top, so pixel (x, y) is word y * width + x.
#pragma once
#include <windows.h>

inline BITMAPINFO TopDown32(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}
