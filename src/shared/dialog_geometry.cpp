#include "dialog_geometry.h"

MainWindowSize ComputeMainWindowSize(uint32_t screenWidth, uint32_t screenHeight)
{
    MainWindowSize size;
    size.mainWidth = screenWidth * 7 / 10;
    size.mainHeight = screenHeight < 600 ? screenHeight * 26 / 100 : screenHeight * 23 / 100;
    return size;
}

DialogGeometry ComputeDialogGeometry(const ScreenMetrics& metrics, const MainWindowSize& main)
{
    // A platform that reports no base units would make every division below
    // fail; the system font's usual units keep the dialogs on screen.
    const uint32_t unitX = metrics.baseUnitX != 0 ? metrics.baseUnitX : 8;
    const uint32_t unitY = metrics.baseUnitY != 0 ? metrics.baseUnitY : 16;

    const uint32_t gap = unitX * 4 / unitX;
    const uint32_t screenWidthDU = metrics.screenWidth * 4 / unitX;
    const uint32_t halfHeightDU = (main.mainHeight / 2) * 8 / unitY;
    const uint32_t captionAllowance = metrics.captionHeight * 8 / unitY + metrics.frameThickness;

    DialogGeometry g;
    g.dialogLeft = static_cast<uint16_t>(main.mainWidth * 4 / unitX + gap);
    g.dialogWidth = static_cast<uint16_t>(screenWidthDU - g.dialogLeft);
    g.fieldWidth = static_cast<uint16_t>(g.dialogWidth * 95u / 100u);
    g.dialogHeight = static_cast<uint16_t>(halfHeightDU - captionAllowance);
    g.addDialogTop = static_cast<uint16_t>(0u - 2 * captionAllowance);
    g.searchDialogTop = static_cast<uint16_t>(halfHeightDU - 2 * captionAllowance + 2);
    g.addEditHeight = static_cast<uint16_t>(unitY * 8 / unitY + 2);
    return g;
}
