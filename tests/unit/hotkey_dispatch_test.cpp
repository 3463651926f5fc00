// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "form_fixture.h"
#include "platform/delay.h"

using namespace pelmora;

namespace {

struct HotkeyDispatchTest : FormOnFakeDesktop, ::testing::Test {
    PointSlots& slots = form.pointSlots;
    HotkeyDispatchTest() {
        fake.desktop.screen.SetPixel(100, 200, kColourRed);
        fake.desktop.pointer = {100, 200};
    }
};

}  // namespace

TEST_F(HotkeyDispatchTest, CtrlAltDigitsGrabIntoTheirSlots) {
    EXPECT_TRUE(fake.hotkeys.Press(3, 49));  // Ctrl+Alt+1
    EXPECT_EQ(slots.坐标颜色[0].Text(), "100,200 0000FF");
    EXPECT_EQ(slots.色块[0].BackColor(), kColourRed);

    fake.desktop.pointer = {5, 6};
    EXPECT_TRUE(fake.hotkeys.Press(3, 48));  // Ctrl+Alt+0 fills slot 9
    EXPECT_EQ(slots.坐标颜色[9].Text(), "5,6 000000");
    EXPECT_EQ(slots.色块[9].BackColor(), kColourBlack);
    for (int i = 1; i < 9; ++i) EXPECT_EQ(slots.坐标颜色[i].Text(), "") << i;
}

TEST_F(HotkeyDispatchTest, AltGraveStartsAndStopsSampling) {
    fake.hotkeys.Press(1, 192);
    EXPECT_EQ(form.sampling.SamplingState, kSamplingRunning);
    EXPECT_EQ(form.sampling.Check1.Value(), 1);
    EXPECT_TRUE(form.sampling.Timer1.Enabled());
    fake.hotkeys.Press(1, 192);
    EXPECT_EQ(form.sampling.SamplingState, kSamplingStopped);
    EXPECT_EQ(form.sampling.Label8.BackColor(), kColourGreen);
}

TEST_F(HotkeyDispatchTest, ArrowsMoveThePointerOnePixelWhetherOrNotSampling) {
    fake.hotkeys.Press(0, 38);
    EXPECT_EQ(fake.desktop.pointer, (ScreenPoint{100, 199}));
    form.sampling.Check1.SetValue(1);
    fake.hotkeys.Press(0, 37);
    fake.hotkeys.Press(0, 40);
    fake.hotkeys.Press(0, 39);
    fake.hotkeys.Press(0, 39);
    EXPECT_EQ(fake.desktop.pointer, (ScreenPoint{101, 200}));
}

TEST_F(HotkeyDispatchTest, OtherIdsDoNothing) {
    for (int id : {11, 19, -1, 786}) form.hotkeyDispatch.HotKeyWndProc(id);
    EXPECT_EQ(fake.desktop.pointer, (ScreenPoint{100, 200}));
    EXPECT_EQ(form.sampling.SamplingState, kSamplingStopped);
    for (const TextBox& slot : slots.坐标颜色) EXPECT_EQ(slot.Text(), "");
}

TEST_F(HotkeyDispatchTest, GrabReportsRelativeToTheStartPointRoundingHalvesToEven) {
    form.adjustment.起x.SetText("10");
    form.adjustment.起y.SetText("20");
    form.adjustment.Check3.SetValue(1);
    fake.hotkeys.Press(3, 50);  // Ctrl+Alt+2
    EXPECT_EQ(slots.坐标颜色[1].Text(), "90,180 0000FF");

    form.adjustment.起x.SetText("0.5");  // 100 - 0.5 = 99.5 -> 100
    form.adjustment.起y.SetText("1.5");  // 200 - 1.5 = 198.5 -> 198
    fake.hotkeys.Press(3, 51);
    EXPECT_EQ(slots.坐标颜色[2].Text(), "100,198 0000FF");

    form.adjustment.起x.SetText("9E99");  // cannot be a whole coordinate: the slot stays
    fake.hotkeys.Press(3, 51);
    EXPECT_EQ(slots.坐标颜色[2].Text(), "100,198 0000FF");
}

TEST_F(HotkeyDispatchTest, GrabWithOffsetReadsTheOffsetPixel) {
    fake.desktop.screen.SetPixel(103, 203, kColourGreen);
    form.adjustment.Check2.SetValue(1);
    for (int i = 0; i < 5; ++i) form.adjustment.Command3.RaiseClick();  // offset 3
    fake.hotkeys.Press(3, 49);
    EXPECT_EQ(slots.坐标颜色[0].Text(), "103,203 00FF00");

    fake.desktop.pointer = {1, 1};  // 1 - 2 is off the screen: no pixel, black swatch
    for (int i = 0; i < 5; ++i) form.adjustment.Command4.RaiseClick();  // offset -2
    fake.hotkeys.Press(3, 49);
    EXPECT_EQ(slots.坐标颜色[0].Text(), "-1,-1 FFFFFF");
    EXPECT_EQ(slots.色块[0].BackColor(), kColourBlack);
}

TEST(DelayMs, WaitsWhileProcessingEventsAndSurvivesTheCounterWrap) {
    FakePlatform fake;
    DelayMs(fake.clock, fake.pump, 0);
    EXPECT_EQ(fake.pump.processed, 0);

    int ran = 0;
    fake.pump.pending.push_back({3, [&] { ++ran; }});
    DelayMs(fake.clock, fake.pump, 5);
    EXPECT_EQ(fake.clock.now, 5u);
    EXPECT_EQ(ran, 1);  // an event arriving mid-wait runs inside it
    EXPECT_EQ(fake.pump.processed, 10);

    fake.clock.now = 0xFFFFFFFEu;
    DelayMs(fake.clock, fake.pump, 4);
    EXPECT_EQ(fake.clock.now, 2u);
}
