// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "form_fixture.h"

using namespace pelmora;

namespace {

struct LookupPageTest : FormOnFakeDesktop, ::testing::Test {
    ColourLookupPage& page = form.lookupPage;

    void LookUpHex(const std::string& code) {
        page.查10.SetText(code);
        page.Command1_Click();
    }
    void LookUpDecimal(const std::string& value) {
        page.Option1[1].Select();
        page.查16.SetText(value);
        page.Command1_Click();
    }
    std::vector<std::string> Components() const {
        return {page.查10r.Text(), page.查10g.Text(), page.查10b.Text(),
                page.查10h.Text(), page.查10s.Text(), page.查10l.Text()};
    }
};

struct CustomPanelTest : FormOnFakeDesktop, ::testing::Test {
    CustomColourPanel& panel = form.customPanel;
    ColourReadout& fields = form.customPanel.fields;

    void ReadAt(const std::string& x, const std::string& y) {
        fields.x.SetText(x);
        fields.y.SetText(y);
        panel.Command2_Click();
    }
};

using Texts = std::vector<std::string>;

}  // namespace

TEST_F(LookupPageTest, StartsInHexadecimalModeWithGreyFields) {
    EXPECT_TRUE(page.Option1[0].Value());
    EXPECT_FALSE(page.查10.Locked());
    EXPECT_EQ(page.查10.BackColor(), kColourWhite);
    EXPECT_EQ(page.查10.MaxLength(), 6);
    EXPECT_TRUE(page.查16.Locked());
    EXPECT_EQ(page.查16.BackColor(), kColourReadOnlyGrey);
    EXPECT_EQ(page.查16.MaxLength(), 9);
    EXPECT_EQ(page.查颜色.BackColor(), kColourReadOnlyGrey);
    EXPECT_EQ(page.Command1.Caption(), "颜色\n显示");
}

TEST_F(LookupPageTest, HexadecimalCodesReadInBlueGreenRedOrder) {
    LookUpHex("ff");
    EXPECT_EQ(page.查颜色.BackColor(), kColourRed);
    EXPECT_EQ(Components(), (Texts{"255", "0", "0", "0", "240", "120"}));
    EXPECT_EQ(page.查10.Text(), "0000FF");
    EXPECT_EQ(page.查16.Text(), "255");

    LookUpHex("FFFF");
    EXPECT_EQ(page.查10.Text(), "00FFFF");
    EXPECT_EQ(Components(), (Texts{"255", "255", "0", "40", "240", "120"}));
    EXPECT_EQ(page.查16.Text(), "65535");

    LookUpHex("FF0000");
    EXPECT_EQ(page.查颜色.BackColor(), kColourBlue);
    EXPECT_EQ(page.查10b.Text(), "255");
    EXPECT_EQ(page.查16.Text(), "16711680");

    LookUpHex("123456");
    EXPECT_EQ(Components(), (Texts{"86", "52", "18", "20", "157", "49"}));
}

TEST_F(LookupPageTest, TextThatIsNotHexadecimalOrEmptyChangesNothing) {
    LookUpHex("0000FF");
    for (const char* bad : {"", "12G4", "0x12", " ff", "-1"}) {
        LookUpHex(bad);
        EXPECT_EQ(page.查颜色.BackColor(), kColourRed) << bad;
        EXPECT_EQ(page.查10.Text(), bad) << bad;
        EXPECT_EQ(page.查16.Text(), "255") << bad;
        EXPECT_EQ(page.查10r.Text(), "255") << bad;
    }
}

TEST_F(LookupPageTest, DecimalModeRoundsHalvesToEvenAndRefusesTooLargeColours) {
    LookUpDecimal("255.5");
    EXPECT_EQ(page.查10.Text(), "000100");
    EXPECT_EQ(page.查颜色.BackColor(), 256);
    EXPECT_EQ(page.查10g.Text(), "1");
    EXPECT_EQ(page.查16.Text(), "255.5");  // kept as typed

    LookUpDecimal("16777216");  // one more than white: the swatch and components stay
    EXPECT_EQ(page.查颜色.BackColor(), 256);
    EXPECT_EQ(page.查10g.Text(), "1");
    EXPECT_EQ(page.查10.Text(), "000000");

    LookUpDecimal("12abc");  // not a number: nothing changes
    EXPECT_EQ(page.查10.Text(), "000000");
    LookUpDecimal("99999999999");  // does not fit 32 bits
    EXPECT_EQ(page.查10.Text(), "000000");
}

TEST_F(LookupPageTest, NegativeDecimalShowsTheColourOfTheDigitsItWrites) {
    LookUpDecimal("-1");
    EXPECT_EQ(page.查10.Text(), "FFFFFF");
    EXPECT_EQ(page.查颜色.BackColor(), kColourWhite);
    EXPECT_EQ(Components(), (Texts{"255", "255", "255", "160", "0", "240"}));
}

TEST_F(LookupPageTest, SwitchingModeSwapsColourAndLockButKeepsBothTexts) {
    page.查10.SetText("abc");
    page.查16.SetText("12");
    page.Option1[1].Select();
    EXPECT_TRUE(page.查10.Locked());
    EXPECT_EQ(page.查10.BackColor(), kColourReadOnlyGrey);
    EXPECT_FALSE(page.查16.Locked());
    EXPECT_EQ(page.查16.BackColor(), kColourWhite);
    page.Option1[0].Select();
    EXPECT_FALSE(page.查10.Locked());
    EXPECT_TRUE(page.查16.Locked());
    EXPECT_EQ(page.查10.Text(), "abc");
    EXPECT_EQ(page.查16.Text(), "12");
}

TEST_F(CustomPanelTest, ReadsTheTypedPointInEveryForm) {
    fake.desktop.screen.SetPixel(0, 0, 1193046);
    ReadAt("0", "0");
    EXPECT_EQ(fields.swatch.BackColor(), 1193046);
    EXPECT_EQ(fields.hex.Text(), "123456");
    EXPECT_EQ(fields.decimal.Text(), "1193046");
    EXPECT_EQ(fields.redHex.Text(), "56");
    EXPECT_EQ(fields.red.Text(), "86");
    EXPECT_EQ(fields.hue.Text(), "20");
    EXPECT_EQ(fields.saturation.Text(), "157");
    EXPECT_EQ(fields.lightness.Text(), "49");
}

TEST_F(CustomPanelTest, StartPointMakesTypedCoordinatesRelativeWithoutTheOffset) {
    fake.desktop.screen.SetPixel(105, 206, kColourGreen);
    form.adjustment.Check2.SetValue(1);  // the offset does not apply here
    form.adjustment.Check3.SetValue(1);
    form.adjustment.起x.SetText("100");
    form.adjustment.起y.SetText("200");
    ReadAt("5", "6");
    EXPECT_EQ(fields.hex.Text(), "00FF00");

    // The typed value is rounded first, then the sum: 2.5 -> 2, 2 + 0.5 -> 2 (not 3).
    fake.desktop.screen.SetPixel(2, 4, kColourBlue);
    fake.desktop.screen.SetPixel(3, 4, kColourWhite);
    form.adjustment.起x.SetText("0.5");
    form.adjustment.起y.SetText("0.5");
    ReadAt("2.5", "3.5");
    EXPECT_EQ(fields.hex.Text(), "FF0000");
}

TEST_F(CustomPanelTest, PointsOffTheScreenEmptyOrLettersChangeNothing) {
    fake.desktop.screen.SetPixel(1, 1, kColourRed);
    ReadAt("1", "1");
    ASSERT_EQ(fields.hex.Text(), "0000FF");
    for (const auto& [x, y] : std::vector<std::pair<std::string, std::string>>{
             {"1024", "0"}, {"-1", "5"}, {"", "1"}, {"1", ""}, {"1a", "1"}, {"1", "x"}, {"9e99", "1"}}) {
        ReadAt(x, y);
        EXPECT_EQ(fields.hex.Text(), "0000FF") << x << "," << y;
        EXPECT_EQ(fields.swatch.BackColor(), kColourRed) << x << "," << y;
    }
}

TEST_F(CustomPanelTest, PanelSwitchShowsOneFrameAndMovesTheFocus) {
    form.Option3[1].Select();
    EXPECT_FALSE(form.颜色坐标[0].Visible());
    EXPECT_TRUE(form.颜色坐标[1].Visible());
    EXPECT_EQ(form.Focused(), &form.sampling.Check1);
    form.Option3[0].Select();
    EXPECT_TRUE(form.颜色坐标[0].Visible());
    EXPECT_FALSE(form.颜色坐标[1].Visible());
    EXPECT_FALSE(fields.x.Locked());
    EXPECT_EQ(fields.x.MaxLength(), 4);
    EXPECT_TRUE(fields.hex.Locked());
}
