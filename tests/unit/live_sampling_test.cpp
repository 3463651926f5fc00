// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "form_fixture.h"

using namespace pelmora;

namespace {
struct LiveSamplingTest : FormOnFakeDesktop, ::testing::Test {
    ColourReadout& panel = form.readoutPanel;
    LiveSampling& sampling = form.sampling;
};
}  // namespace

TEST_F(LiveSamplingTest, PollOverPureRedFillsEveryFormInOrder) {
    fake.desktop.screen.SetPixel(100, 200, kColourRed);
    fake.desktop.pointer = {100, 200};
    sampling.Check1.SetValue(1);
    sampling.Timer1.Fire();

    EXPECT_EQ(sampling.Label9.Caption(), "x:100  y:200");
    EXPECT_EQ(panel.x.Text(), "100");
    EXPECT_EQ(panel.y.Text(), "200");
    EXPECT_EQ(panel.swatch.BackColor(), kColourRed);
    EXPECT_EQ(panel.decimal.Text(), "255");
    EXPECT_EQ(panel.hex.Text(), "0000FF");
    EXPECT_EQ(panel.redHex.Text(), "FF");
    EXPECT_EQ(panel.greenHex.Text(), "00");
    EXPECT_EQ(panel.blueHex.Text(), "00");
    EXPECT_EQ(panel.red.Text(), "255");
    EXPECT_EQ(panel.green.Text(), "0");
    EXPECT_EQ(panel.blue.Text(), "0");
    EXPECT_EQ(panel.hue.Text(), "0");
    EXPECT_EQ(panel.saturation.Text(), "240");
    EXPECT_EQ(panel.lightness.Text(), "120");
}

TEST_F(LiveSamplingTest, PollOffTheScreenShowsNoPixel) {
    fake.desktop.screen.Clear(kColourWhite);
    fake.desktop.pointer = {fake.desktop.screen.Width(), 10};  // one past the right edge
    sampling.Check1.SetValue(1);
    sampling.Timer1.Fire();

    EXPECT_EQ(panel.swatch.BackColor(), kColourBlack);
    EXPECT_EQ(panel.decimal.Text(), "-1");
    EXPECT_EQ(panel.hex.Text(), "FFFFFF");
    EXPECT_EQ(panel.red.Text(), "255");
    EXPECT_EQ(panel.hue.Text(), "160");
    EXPECT_EQ(panel.lightness.Text(), "240");

    fake.desktop.pointer = {-1, -1};  // a screen left of and above the primary one
    sampling.Timer1.Fire();
    EXPECT_EQ(sampling.Label9.Caption(), "x:-1  y:-1");
    EXPECT_EQ(panel.decimal.Text(), "-1");
}

TEST_F(LiveSamplingTest, Check1StartsAndStopsTheTimerAndTheIndicator) {
    EXPECT_FALSE(sampling.Timer1.Enabled());
    EXPECT_EQ(sampling.Timer1.Interval(), 100);
    EXPECT_EQ(sampling.SamplingState, kSamplingStopped);
    EXPECT_EQ(sampling.Label8.BackColor(), kColourGreen);

    const auto runBefore = sampling.Timer1.Run();
    sampling.Check1.SetValue(1);
    EXPECT_TRUE(sampling.Timer1.Enabled());
    EXPECT_EQ(sampling.Timer1.Run(), runBefore + 1);  // the interval restarts from now
    EXPECT_EQ(sampling.SamplingState, kSamplingRunning);
    EXPECT_EQ(sampling.Label8.BackColor(), kColourRed);

    sampling.Check1.SetValue(0);
    EXPECT_FALSE(sampling.Timer1.Enabled());
    EXPECT_EQ(sampling.SamplingState, kSamplingStopped);
    EXPECT_EQ(sampling.Label8.BackColor(), kColourGreen);
}

TEST_F(LiveSamplingTest, StoppedTimerDoesNotPollAndFieldsKeepTheirValues) {
    fake.desktop.pointer = {1, 1};
    sampling.Check1.SetValue(1);
    sampling.Timer1.Fire();
    sampling.Check1.SetValue(0);
    fake.desktop.pointer = {5, 5};
    sampling.Timer1.Fire();
    EXPECT_EQ(panel.x.Text(), "1");
    EXPECT_EQ(sampling.Label9.Caption(), "x:1  y:1");
}

TEST_F(LiveSamplingTest, GetPanelFieldsAreLockedAndGrey) {
    for (TextBox* field :
         {&panel.x, &panel.y, &panel.decimal, &panel.hex, &panel.redHex, &panel.greenHex, &panel.blueHex, &panel.red,
          &panel.green, &panel.blue, &panel.hue, &panel.saturation, &panel.lightness}) {
        EXPECT_TRUE(field->Locked()) << field->ObjectName();
        EXPECT_EQ(field->BackColor(), kColourReadOnlyGrey) << field->ObjectName();
    }
    EXPECT_EQ(panel.hex.ObjectName(), "得16");
    EXPECT_EQ(panel.lightness.ObjectName(), "得10l");
    EXPECT_EQ(sampling.Label9.Caption(), "x:0\u3000y:0");
}
