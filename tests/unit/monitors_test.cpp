// SPDX-License-Identifier: MIT
// Pixels on every monitor: a desktop whose primary screen has a monitor on its left (at
// negative x) and one on its right. The read-out, the slots and the custom panel read them
// as the magnifier does; only where no monitor is do they show no pixel. Whole-screen takes
// are the primary monitor alone, wherever it lies.
#include <gtest/gtest.h>

#include <array>

#include "capture/bitmap_file.h"
#include "form_fixture.h"

using namespace pelmora;

namespace {

constexpr Colour kLeftColour = 0x123456;
constexpr Colour kRightColour = 0x00FF00;

struct MonitorsTest : ::testing::Test {
    FakePlatform fake;
    std::unique_ptr<Form1> form;

    MonitorsTest() {
        // 1280 wide on the left, the 1024 x 768 primary, 1280 wide on the right.
        fake.desktop.screen = Surface(1280 + 1024 + 1280, 1024, 0);
        fake.desktop.screenOrigin = {-1280, 0};
        fake.desktop.primarySize = ScreenSize{1024, 768};
        fake.desktop.screen.SetPixel(1280 - 100, 900, kLeftColour);        // (-100, 900)
        fake.desktop.screen.SetPixel(1280 + 1024 + 50, 20, kRightColour);  // (1074, 20)
        form = std::make_unique<Form1>(fake.Services());
        form->Form_Load();
    }
    void Poll(ScreenPoint at) {
        fake.desktop.pointer = at;
        form->sampling.Check1.SetValue(1);
        form->sampling.Timer1.Fire();
    }
};

}  // namespace

TEST_F(MonitorsTest, LiveReadOutReadsPixelsLeftAndRightOfThePrimaryScreen) {
    EXPECT_EQ(form->ScreenWidth, 1024) << "the screen size stays the primary screen's";
    Poll({-100, 900});
    EXPECT_EQ(form->readoutPanel.x.Text(), "-100");
    EXPECT_EQ(form->readoutPanel.hex.Text(), "123456");
    EXPECT_EQ(form->readoutPanel.swatch.BackColor(), kLeftColour);
    Poll({1074, 20});
    EXPECT_EQ(form->readoutPanel.hex.Text(), "00FF00");
    EXPECT_EQ(form->readoutPanel.decimal.Text(), "65280");
}

TEST_F(MonitorsTest, SlotsAndTheCustomPanelReadOtherMonitorsToo) {
    fake.desktop.pointer = {-100, 900};
    EXPECT_TRUE(fake.hotkeys.Press(kModControl | kModAlt, '1'));
    EXPECT_EQ(form->pointSlots.坐标颜色[0].Text(), "-100,900 123456");
    EXPECT_EQ(form->pointSlots.色块[0].BackColor(), kLeftColour);

    ColourReadout& custom = form->customPanel.fields;
    custom.x.SetText("1074");
    custom.y.SetText("20");
    form->customPanel.Command2_Click();
    EXPECT_EQ(custom.hex.Text(), "00FF00");
    EXPECT_EQ(custom.swatch.BackColor(), kRightColour);
}

TEST_F(MonitorsTest, WhereNoMonitorIsThereIsNoPixel) {
    Poll({-1281, 10});
    EXPECT_EQ(form->readoutPanel.decimal.Text(), "-1");
    EXPECT_EQ(form->readoutPanel.hex.Text(), "FFFFFF");
    EXPECT_EQ(form->readoutPanel.swatch.BackColor(), 0);
    Poll({10, 1024});
    EXPECT_EQ(form->readoutPanel.decimal.Text(), "-1");
}

// As on X11 with the primary monitor right of another one, its top-left corner at (1280, 0):
// the snapshot page's whole-screen snapshot and the editor's screen take are that monitor
// alone, from its own corner.
TEST(PrimaryMonitorTest, SnapshotAndTheEditorTakeThePrimaryMonitorFromItsCorner) {
    FakePlatform fake;
    fake.files.folders.insert("/opt/pelmora");
    Surface& screen = fake.desktop.screen = Surface(1280 + 1024, 768);
    for (int y = 0; y < screen.Height(); ++y)
        for (int x = 0; x < screen.Width(); ++x) screen.SetPixel(x, y, x + (y << 12));
    fake.desktop.primaryOrigin = {1280, 0};
    fake.desktop.primarySize = ScreenSize{1024, 768};
    Form1 form(fake.Services());
    form.Form_Load();

    form.snapshotPage.屏幕截图按钮.RaiseClick();
    const DecodedBitmap saved = DecodeBitmap(fake.files.contents["/opt/pelmora/Snap/20261206153045.bmp"]);
    ASSERT_TRUE(saved.picture) << saved.error;
    form.editor.files.菜单按钮_Click(2);
    for (const Surface* picture : std::array<const Surface*, 2>{&*saved.picture, &form.editor.canvas.结果图像}) {
        ASSERT_EQ(picture->Width(), 1024);
        ASSERT_EQ(picture->Height(), 768);
        EXPECT_EQ(picture->Pixel(0, 0), 1280);
        EXPECT_EQ(picture->Pixel(1023, 767), 2303 + (767 << 12));
    }
}
