#include <gtest/gtest.h>

#include "shared/dialog_geometry.h"

namespace {

TEST(MainWindowSize, SmallScreensGetTheTallerWindow)
{
    EXPECT_EQ(ComputeMainWindowSize(800, 599).mainHeight, 155u);
    EXPECT_EQ(ComputeMainWindowSize(800, 600).mainHeight, 138u);
    EXPECT_EQ(ComputeMainWindowSize(1024, 768).mainWidth, 716u);
    EXPECT_EQ(ComputeMainWindowSize(1024, 768).mainHeight, 176u);
}

TEST(DialogGeometry, TheCommonScreen)
{
    const ScreenMetrics screen{1024, 768, 8, 16, 18, 4};
    const DialogGeometry g = ComputeDialogGeometry(screen, ComputeMainWindowSize(1024, 768));
    EXPECT_EQ(g.dialogLeft, 362);
    EXPECT_EQ(g.dialogWidth, 150);
    EXPECT_EQ(g.fieldWidth, 142);
    EXPECT_EQ(g.dialogHeight, 31);
    EXPECT_EQ(static_cast<int16_t>(g.addDialogTop), -26);
    EXPECT_EQ(g.searchDialogTop, 20);
    EXPECT_EQ(g.addEditHeight, 10);
}

TEST(DialogGeometry, AWideScreen)
{
    const ScreenMetrics screen{1920, 1080, 8, 16, 23, 4};
    const MainWindowSize main = ComputeMainWindowSize(1920, 1080);
    EXPECT_EQ(main.mainWidth, 1344u);
    EXPECT_EQ(main.mainHeight, 248u);
    const DialogGeometry g = ComputeDialogGeometry(screen, main);
    EXPECT_EQ(g.dialogLeft, 676);
    EXPECT_EQ(g.dialogWidth, 284);
    EXPECT_EQ(g.fieldWidth, 269);
    EXPECT_EQ(g.dialogHeight, 47);
    EXPECT_EQ(static_cast<int16_t>(g.addDialogTop), -30);
    EXPECT_EQ(g.searchDialogTop, 34);
}

TEST(DialogGeometry, OddHeightIsHalvedBeforeConverting)
{
    // 155 / 2 = 77, and 77 * 8 / 16 = 38: half a height of 38 dialog units.
    const ScreenMetrics screen{800, 599, 8, 16, 18, 4};
    const DialogGeometry g = ComputeDialogGeometry(screen, {560, 155});
    EXPECT_EQ(g.dialogHeight, 38 - 13);
    EXPECT_EQ(g.searchDialogTop, 38 - 26 + 2);
}

TEST(DialogGeometry, NoBaseUnitsDoesNotDivideByZero)
{
    const DialogGeometry g = ComputeDialogGeometry({1024, 768, 0, 0, 18, 4}, {716, 176});
    EXPECT_EQ(g.dialogLeft, 362);
    EXPECT_EQ(g.addEditHeight, 10);
}

} // namespace
