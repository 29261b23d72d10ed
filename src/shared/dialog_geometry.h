// Where the main window and the two dialogs stand, from the screen size and
// the system font's dialog base units. Computed once at start-up.
#pragma once
#include <cstdint>

struct MainWindowSize {
    uint32_t mainWidth;
    uint32_t mainHeight;
};

// The screen metrics the layout depends on.
struct ScreenMetrics {
    uint32_t screenWidth;
    uint32_t screenHeight;
    uint32_t baseUnitX; // pixels per 4 horizontal dialog units
    uint32_t baseUnitY; // pixels per 8 vertical dialog units
    uint32_t captionHeight;
    uint32_t frameThickness;
};

// All in dialog units; addDialogTop is negative, in 16-bit two's complement,
// as the template's signed y field reads it.
struct DialogGeometry {
    uint16_t dialogLeft;
    uint16_t addDialogTop;
    uint16_t searchDialogTop;
    uint16_t dialogWidth;
    uint16_t dialogHeight;
    uint16_t fieldWidth;
    uint16_t addEditHeight;
};

// 70 % of the screen wide; 23 % of it high, 26 % on screens under 600 pixels
// so that a small screen still shows a few rows.
MainWindowSize ComputeMainWindowSize(uint32_t screenWidth, uint32_t screenHeight);

DialogGeometry ComputeDialogGeometry(const ScreenMetrics& metrics, const MainWindowSize& main);
