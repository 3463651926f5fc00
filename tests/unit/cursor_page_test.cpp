// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "cursor/feature_code.h"
#include "form_fixture.h"

using namespace pelmora;

namespace {

// Cursors that give different codes: an opaque 16 x 16 image of one colour, hot spot (0, 0).
CursorImage Plain(std::uint32_t colour) {
    return CursorImage{16, 16, 0, 0, std::vector<std::uint32_t>(256, 0xFF000000u | colour)};
}

struct CursorPageTest : FormOnFakeDesktop, ::testing::Test {
    CursorPage& page = form.cursorPage;
    CursorPageTest() { fake.desktop.cursorImage = Plain(0xFFFFFF); }
    // The code the current cursor gives by method, as text.
    std::string Expected(int method) {
        PictureBox scratch;
        return std::to_string(CursorFeatureCode(fake.desktop, scratch, method));
    }
    int MarkerTop() const { return page.焦点.Geometry().top; }
    int SwatchTop(int i) const { return page.鼠标块[i].Geometry().top; }
    bool OnlyPreviewShown(int i) const {
        for (int k = 0; k < 3; ++k)
            if (page.鼠标绘制[k].Visible() != (k == i)) return false;
        return true;
    }
    bool PreviewDrawn(int i) const { return page.鼠标绘制[i].Image().Pixel(1, 1) == kColourRed; }
};

}  // namespace

TEST_F(CursorPageTest, StartsWithSwatchZeroAndTheDefaultMethod) {
    EXPECT_EQ(page.CurrentCursorSwatch, 0);
    EXPECT_EQ(page.Combo1.Items(), (std::vector<std::string>{"默认方式", "方式一", "方式二(New)"}));
    EXPECT_EQ(page.Combo1.ListIndex(), 0);
    EXPECT_TRUE(OnlyPreviewShown(0));
    EXPECT_EQ(MarkerTop(), SwatchTop(0) + 3);
    EXPECT_EQ(page.鼠标绘制[0].Geometry().width, 41);
    EXPECT_EQ(page.鼠标绘制[0].Image().Pixel(20, 20), 14803425);
    EXPECT_EQ(page.鼠标块[2].Caption(), "3");
}

TEST_F(CursorPageTest, Command7ComputesIntoTheSelectedSwatchWithTheShownMethod) {
    page.Combo1.SetListIndex(2);
    EXPECT_EQ(page.鼠标特征码.Text(), "");  // a new method alone recomputes nothing
    page.鼠标块_Click(1);
    page.Combo1.SetListIndex(1);
    page.Command7.RaiseClick();
    EXPECT_EQ(page.鼠标特征码.Text(), Expected(1));
    EXPECT_TRUE(PreviewDrawn(1));
    EXPECT_FALSE(PreviewDrawn(0));
    EXPECT_EQ(page.SwatchCodes[1], "");  // stored only when the swatch is left
}

TEST_F(CursorPageTest, SwitchingSwatchesKeepsEachCodeAndMethod) {
    page.鼠标块_Click(2);
    page.Combo1.SetListIndex(2);
    page.Command7.RaiseClick();
    const std::string code = page.鼠标特征码.Text();
    page.鼠标块_Click(1);
    EXPECT_EQ(page.鼠标特征码.Text(), "");
    EXPECT_EQ(page.Combo1.ListIndex(), 0);
    EXPECT_TRUE(OnlyPreviewShown(1));
    EXPECT_EQ(MarkerTop(), SwatchTop(1) + 3);
    page.鼠标特征码.SetText("typed by hand");  // free text is kept too
    page.鼠标块_Click(2);
    EXPECT_EQ(page.鼠标特征码.Text(), code);
    EXPECT_EQ(page.Combo1.ListIndex(), 2);
    EXPECT_EQ(page.SwatchCodes[1], "typed by hand");

    // Clicking the selected swatch again changes nothing.
    page.鼠标块_Click(2);
    EXPECT_EQ(page.鼠标特征码.Text(), code);
    EXPECT_EQ(page.Combo1.ListIndex(), 2);
    EXPECT_EQ(MarkerTop(), SwatchTop(2) + 3);
    EXPECT_TRUE(OnlyPreviewShown(2));
}

TEST_F(CursorPageTest, HotkeyOnTheSelectedSwatchCapturesIntoIt) {
    page.鼠标块_Click(2);
    EXPECT_TRUE(fake.hotkeys.Press(3, 69));  // Ctrl+Alt+E
    EXPECT_EQ(page.CurrentCursorSwatch, 2);
    EXPECT_TRUE(PreviewDrawn(2));
    EXPECT_TRUE(OnlyPreviewShown(2));
    EXPECT_EQ(page.鼠标特征码.Text(), Expected(0));
    EXPECT_EQ(page.SwatchCodes[2], Expected(0));
}

TEST_F(CursorPageTest, HotkeyOnAnotherSwatchSelectsItAndTheLeftSwatchKeepsItsCode) {
    page.Combo1.SetListIndex(1);  // swatch 0 is left with method 1 stored
    page.鼠标块_Click(2);
    page.Combo1.SetListIndex(2);
    page.Command7.RaiseClick();
    const std::string earlier = page.鼠标特征码.Text();

    fake.desktop.cursorImage = Plain(0x3366CC);
    EXPECT_TRUE(fake.hotkeys.Press(3, 81));  // Ctrl+Alt+Q: computed with the method shown (2)
    EXPECT_EQ(page.CurrentCursorSwatch, 0);
    EXPECT_TRUE(OnlyPreviewShown(0));
    EXPECT_TRUE(page.鼠标绘制[0].Image().Pixel(9, 9) == kColourRed);
    EXPECT_EQ(page.鼠标特征码.Text(), Expected(2));
    EXPECT_EQ(page.SwatchCodes[0], Expected(2));
    EXPECT_EQ(page.Combo1.ListIndex(), 1);  // the method stored for swatch 0
    EXPECT_EQ(MarkerTop(), SwatchTop(0) + 3);
    EXPECT_NE(earlier, Expected(2));
    EXPECT_EQ(page.SwatchCodes[2], earlier);
    EXPECT_EQ(page.SwatchMethods[2], 2);

    EXPECT_TRUE(fake.hotkeys.Press(3, 87));  // Ctrl+Alt+W
    EXPECT_EQ(page.CurrentCursorSwatch, 1);
    EXPECT_EQ(page.SwatchCodes[0], Expected(2));
}

TEST_F(CursorPageTest, SamplingTickFollowsTheCursorOnlyWhileThePageIsOpen) {
    form.sampling.Check1.SetValue(1);
    form.Timer1_Timer();
    EXPECT_EQ(page.鼠标特征码.Text(), "");
    form.Option2[1].Select();
    form.Timer1_Timer();
    EXPECT_EQ(page.鼠标特征码.Text(), Expected(0));
    fake.desktop.cursorImage = Plain(0x102030);
    form.Timer1_Timer();
    EXPECT_EQ(page.鼠标特征码.Text(), Expected(0));
    EXPECT_EQ(page.SwatchCodes[0], "");
}
