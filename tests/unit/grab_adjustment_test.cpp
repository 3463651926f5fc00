// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "form_fixture.h"

using namespace pelmora;

namespace {

struct GrabAdjustmentTest : FormOnFakeDesktop, ::testing::Test {
    GrabAdjustment& adjustment = form.adjustment;
    ColourReadout& panel = form.readoutPanel;

    void PollAt(int x, int y) {
        fake.desktop.pointer = {x, y};
        form.sampling.Check1.SetValue(1);
        form.sampling.Timer1.Fire();
    }
};

}  // namespace

TEST_F(GrabAdjustmentTest, StartsOffWithOffsetMinusTwoShownAndButtonsDisabled) {
    EXPECT_EQ(adjustment.Label10.Caption(), "-2");
    EXPECT_EQ(adjustment.GrabOffset, 0);
    EXPECT_FALSE(adjustment.Command3.Enabled());
    EXPECT_FALSE(adjustment.Command4.Enabled());
    EXPECT_EQ(adjustment.起x.Text(), "0");
    EXPECT_EQ(adjustment.起y.MaxLength(), 4);
    EXPECT_EQ(form.Command11[11].ToolTip(), "清除起点[Qx,Qy]坐标！");
}

TEST_F(GrabAdjustmentTest, OffsetMovesTheSampledPixelDiagonallyAndTheGetPanelReportsIt) {
    fake.desktop.screen.SetPixel(98, 98, kColourBlue);
    adjustment.Check2.SetValue(1);
    EXPECT_TRUE(adjustment.Command3.Enabled());
    EXPECT_EQ(adjustment.GrabOffset, -2);
    PollAt(100, 100);
    EXPECT_EQ(panel.x.Text(), "98");
    EXPECT_EQ(panel.y.Text(), "98");
    EXPECT_EQ(panel.hex.Text(), "FF0000");
    EXPECT_EQ(form.sampling.Label9.Caption(), "x:100  y:100");
}

TEST_F(GrabAdjustmentTest, OffsetStopsAtNineAndMinusNine) {
    adjustment.Check2.SetValue(1);
    for (int i = 0; i < 11; ++i) adjustment.Command3.RaiseClick();
    EXPECT_EQ(adjustment.Label10.Caption(), "9");
    EXPECT_EQ(adjustment.GrabOffset, 9);
    for (int i = 0; i < 30; ++i) adjustment.Command4.RaiseClick();
    EXPECT_EQ(adjustment.Label10.Caption(), "-9");
    EXPECT_EQ(adjustment.GrabOffset, -9);
}

TEST_F(GrabAdjustmentTest, TurningOffsetOffAndOnRestoresTheLastOffset) {
    adjustment.Check2.SetValue(1);
    adjustment.Command3.RaiseClick();
    adjustment.Check2.SetValue(0);
    EXPECT_EQ(adjustment.GrabOffset, 0);
    EXPECT_EQ(adjustment.Label10.Caption(), "-1");
    EXPECT_FALSE(adjustment.Command4.Enabled());
    PollAt(50, 60);
    EXPECT_EQ(panel.x.Text(), "50");
    adjustment.Check2.SetValue(1);
    EXPECT_EQ(adjustment.GrabOffset, -1);
}

TEST_F(GrabAdjustmentTest, StartPointMakesReportsRelative) {
    adjustment.起x.SetText("100");
    adjustment.起y.SetText("200");
    adjustment.Check3.SetValue(1);
    PollAt(150, 150);
    EXPECT_EQ(panel.x.Text(), "50");
    EXPECT_EQ(panel.y.Text(), "-50");

    adjustment.起x.SetText("abc");   // counts as 0
    adjustment.起y.SetText("10.5");  // a fraction shows in the live read-out
    PollAt(150, 150);
    EXPECT_EQ(panel.x.Text(), "150");
    EXPECT_EQ(panel.y.Text(), "139.5");

    adjustment.Check3.SetValue(0);
    PollAt(150, 150);
    EXPECT_EQ(panel.y.Text(), "150");
}

TEST_F(GrabAdjustmentTest, OffsetAndStartPointTogether) {
    fake.desktop.screen.SetPixel(23, 23, kColourGreen);
    adjustment.Check2.SetValue(1);
    for (int i = 0; i < 5; ++i) adjustment.Command3.RaiseClick();  // -2 -> 3
    adjustment.起x.SetText("10");
    adjustment.起y.SetText("10");
    adjustment.Check3.SetValue(1);
    const GrabPoint grab = adjustment.AdjustGrabPoint({20, 20});
    EXPECT_EQ(grab.sampled, (ScreenPoint{23, 23}));
    EXPECT_EQ(grab.reportedX, 13);
    PollAt(20, 20);
    EXPECT_EQ(panel.x.Text(), "13");
    EXPECT_EQ(panel.hex.Text(), "00FF00");
}
