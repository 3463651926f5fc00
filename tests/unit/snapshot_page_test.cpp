// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "capture/bitmap_file.h"
#include "form_fixture.h"

using namespace pelmora;

namespace {

struct SnapshotPageTest : FormOnFakeDesktop, ::testing::Test {
    SnapshotPage& page = form.snapshotPage;
    const std::string folder = "/opt/pelmora/Snap";
    const std::string stamped = folder + "/20261206153045.bmp";

    SnapshotPageTest() {
        fake.files.folders.insert("/opt/pelmora");
        Surface& screen = fake.desktop.screen;
        for (int y = 0; y < screen.Height(); ++y)
            for (int x = 0; x < screen.Width(); ++x) screen.SetPixel(x, y, x * 7 + (y << 12));
    }
    // The picture saved at path, or an empty surface.
    Surface Saved(const std::string& path) {
        const auto file = fake.files.contents.find(path);
        if (file == fake.files.contents.end()) return {};
        return DecodeBitmap(file->second).picture.value_or(Surface{});
    }
    // The part of the screen at (left, top), width x height.
    Surface ScreenPart(int left, int top, int width, int height) {
        Surface part(width, height, 0);
        part.StretchBlt(0, 0, width, height, fake.desktop.screen, left, top, width, height);
        return part;
    }
    static bool Same(const Surface& a, const Surface& b) {
        if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x)
                if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
        return true;
    }
    // Runs during the next wait, 100 ms into it.
    void DuringTheWait(std::function<void()> run) {
        fake.pump.pending.push_back({fake.clock.now + 100, std::move(run)});
    }
    void SetRange(const char* left, const char* top, const char* width, const char* height) {
        page.Check5.SetValue(1);
        const char* const texts[4] = {left, top, width, height};
        for (int i = 0; i < 4; ++i) page.范围[i].SetText(texts[i]);
    }
};

}  // namespace

TEST_F(SnapshotPageTest, StartsWithTheRangeAndOptionsOff) {
    EXPECT_EQ(page.范围[2].Text(), "800");
    EXPECT_EQ(page.范围[3].Text(), "600");
    EXPECT_EQ(page.Check5.Value(), 0);
    EXPECT_EQ(page.Check6.Value(), 0);
    EXPECT_FALSE(form.hotkeyHook.Registered(11));
    EXPECT_EQ(page.屏幕截图按钮.ToolTip(), "按键盘[Print Screen]截图键即可自动截图保存！");
}

TEST_F(SnapshotPageTest, ButtonSavesTheWholeScreenWhileTheWindowIsHiddenUnderTheStampTakenBeforeTheWait) {
    bool hiddenDuringTheWait = false;
    DuringTheWait([&] {
        hiddenDuringTheWait = !form.WindowVisible();
        fake.clock.localTime.second = 46;  // the wait crosses into the next second
    });
    page.屏幕截图按钮.RaiseClick();
    EXPECT_TRUE(hiddenDuringTheWait);
    EXPECT_TRUE(form.WindowVisible());
    EXPECT_TRUE(fake.files.folders.contains(folder));
    EXPECT_TRUE(Same(Saved(stamped), fake.desktop.screen));
    EXPECT_GE(fake.clock.now, 250u);
    EXPECT_TRUE(fake.dialogs.messages.empty());
}

TEST_F(SnapshotPageTest, RangeIsLeftTopWidthHeightRoundedHalvesToEven) {
    SetRange("100", "50", "200", "150");
    page.屏幕截图按钮.RaiseClick();
    EXPECT_TRUE(Same(Saved(stamped), ScreenPart(100, 50, 200, 150)));

    SetRange("12.5", "13.5", "3", "2");
    page.屏幕截图按钮.RaiseClick();
    EXPECT_TRUE(Same(Saved(folder + "/20261206153045-1.bmp"), ScreenPart(12, 14, 3, 2)));
}

TEST_F(SnapshotPageTest, SnapshotsInTheSameSecondKeepEveryFile) {
    page.Check6.SetValue(1);
    // A Print Screen during the button's wait finishes first and takes the plain name.
    DuringTheWait([&] { EXPECT_TRUE(fake.hotkeys.Press(0, 44)); });
    page.屏幕截图按钮.RaiseClick();
    page.屏幕截图按钮.RaiseClick();
    EXPECT_TRUE(fake.files.contents.contains(stamped));
    EXPECT_TRUE(fake.files.contents.contains(folder + "/20261206153045-1.bmp"));
    EXPECT_TRUE(fake.files.contents.contains(folder + "/20261206153045-2.bmp"));
}

TEST_F(SnapshotPageTest, PrintScreenSavesWithoutHidingAndPutsThePictureOnTheClipboard) {
    fake.hotkeys.Press(0, 44);  // not registered while Check6 is off
    EXPECT_TRUE(fake.files.contents.empty());

    page.Check6.SetValue(1);
    ASSERT_TRUE(form.hotkeyHook.Registered(11));
    fake.clipboard.SetText("old");
    bool hidden = false;
    DuringTheWait([&] { hidden = !form.WindowVisible(); });
    SetRange("5", "6", "40", "30");
    EXPECT_TRUE(fake.hotkeys.Press(0, 44));
    EXPECT_FALSE(hidden);
    EXPECT_TRUE(Same(Saved(stamped), ScreenPart(5, 6, 40, 30)));
    ASSERT_TRUE(fake.clipboard.picture.has_value());
    EXPECT_TRUE(Same(*fake.clipboard.picture, ScreenPart(5, 6, 40, 30)));
    EXPECT_EQ(fake.clipboard.clears, 1);

    page.Check6.SetValue(0);
    EXPECT_FALSE(form.hotkeyHook.Registered(11));
    form.hotkeyDispatch.HotKeyWndProc(11);  // a message still on its way does nothing
    EXPECT_EQ(fake.files.contents.size(), 1u);
}

TEST_F(SnapshotPageTest, CursorIsDrawnInOnlyWithCheck7) {
    fake.desktop.pointer = {110, 60};
    fake.desktop.cursorImage = CursorImage{2, 2, 0, 0, std::vector<std::uint32_t>(4, 0xFF0000FF)};  // opaque red
    SetRange("100", "50", "200", "200");
    page.屏幕截图按钮.RaiseClick();
    EXPECT_EQ(Saved(stamped).Pixel(10, 10), fake.desktop.screen.Pixel(110, 60));
    page.Check7.SetValue(1);
    page.屏幕截图按钮.RaiseClick();
    EXPECT_EQ(Saved(folder + "/20261206153045-1.bmp").Pixel(10, 10), 255);
}

TEST_F(SnapshotPageTest, FailuresSaveNothingShowTheWindowAgainAndSaySoOnlyForTheButton) {
    page.路径文本框.SetText("/missing/parent/Snap");
    page.屏幕截图按钮.RaiseClick();
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(fake.dialogs.messages[0], "无法创建文件夹：/missing/parent/Snap");
    EXPECT_TRUE(form.WindowVisible());

    page.路径文本框.SetText(folder);
    fake.files.folders.insert(folder);
    fake.files.unwritableDirectories.insert(folder);
    page.屏幕截图按钮.RaiseClick();
    ASSERT_EQ(fake.dialogs.messages.size(), 2u);
    EXPECT_EQ(fake.dialogs.messages[1], "无法在此文件夹保存截图：" + folder);
    EXPECT_TRUE(form.WindowVisible());

    fake.files.unwritableDirectories.clear();
    for (const char* width : {"0", "-5", "16385", "abc"}) {
        SetRange("0", "0", width, "10");
        page.屏幕截图按钮.RaiseClick();
    }
    EXPECT_EQ(fake.dialogs.messages.size(), 6u);
    EXPECT_TRUE(fake.files.contents.empty());

    // Print Screen, with another program in front, shows no box.
    page.Check6.SetValue(1);
    fake.hotkeys.Press(0, 44);
    EXPECT_EQ(fake.dialogs.messages.size(), 6u);
    EXPECT_TRUE(fake.files.contents.empty());
}

TEST_F(SnapshotPageTest, FolderPickerSetsTheFolderUnlessCancelled) {
    fake.dialogs.chosenFolder = "/home/user/Pictures";
    page.保存图像路径.RaiseClick();
    EXPECT_EQ(page.路径文本框.Text(), "/home/user/Pictures");
    EXPECT_EQ(fake.dialogs.folderTitles.back(), "选择驱动器和目录");
    fake.dialogs.chosenFolder = "";
    page.保存图像路径.RaiseClick();
    EXPECT_EQ(page.路径文本框.Text(), "/home/user/Pictures");
}

TEST_F(SnapshotPageTest, PrintScreenWithAFolderThatCannotBeMadeStillPutsThePictureOnTheClipboard) {
    page.路径文本框.SetText("/missing/parent/Snap");
    page.Check6.SetValue(1);
    SetRange("5", "6", "40", "30");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(fake.hotkeys.Press(0, 44));
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(fake.clipboard.picture.has_value());
    EXPECT_TRUE(Same(*fake.clipboard.picture, ScreenPart(5, 6, 40, 30)));
    EXPECT_TRUE(fake.files.contents.empty());
    EXPECT_NE(said.find("无法创建文件夹：/missing/parent/Snap"), std::string::npos) << said;
    EXPECT_TRUE(fake.dialogs.messages.empty()) << "no box takes the focus from the program in front";
}
