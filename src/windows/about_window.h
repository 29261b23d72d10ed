// The program information window: its text, its class and its painting.
#pragma once
#include <windows.h>

void ShowAboutWindow();
LRESULT CALLBACK AboutWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

constexpr int kAboutLines = 12;
constexpr int kAboutLineChars = 62;
extern const char kAboutText[kAboutLines][kAboutLineChars + 1];
