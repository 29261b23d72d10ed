// Start-up, which drives the main window into its first state, and the
// message loop with the keys it looks at for the dialogs.
#pragma once
#include <windows.h>

extern const char kMainWindowTitle[];

// Registers the class, creates and shows the main window with its menu,
// computes the dialog geometry and drives the window into its first state:
// German to English, both dialogs open, the entries beginning with "x".
void StartUp(HINSTANCE instance);

// Runs until WM_QUIT; returns the process's exit code, always 0.
int RunMessageLoop();

// The loop's handling of one message, exposed for tests that feed it.
void RouteMessage(MSG& message);
