// SPDX-License-Identifier: MIT
// Snapshots of the real program on the shared Xvfb: the files it leaves, read back with the
// program's own bitmap reader, against what the screen shows.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>

#include "capture/bitmap_file.h"
#include "backends/x11/x11_desktop.h"
#include "snapshot_page_layout.h"
#include "x11_test_support.h"

using namespace pelmora;
using namespace pelmora::testing;
using namespace std::chrono_literals;

namespace {

struct SnapshotProgramTest : ::testing::Test {
    std::unique_ptr<X11Connection> connection = X11Connection::Open();
    std::unique_ptr<X11Desktop> desktop;
    ProgramUnderTest program;

    void SetUp() override {
        ASSERT_TRUE(connection);
        desktop = std::make_unique<X11Desktop>(*connection);
        program.Start();
        ASSERT_TRUE(WaitUntil([&] { return program.FindWindow() != 0; })) << "no window appeared";
        Click(kSnapshotPage);
    }
    void TearDown() override { EXPECT_TRUE(program.EndsCleanlyAfter(SIGTERM, 3000ms)); }

    void Click(const int (&at)[2]) {
        Shell("xdotool mousemove " + std::to_string(at[0]) + " " + std::to_string(at[1]) + " click 1");
    }
    void SetRange(int left, int top, int width, int height) {
        Click(kCheck5);
        const int values[4] = {left, top, width, height};
        for (int i = 0; i < 4; ++i) {
            Shell("xdotool mousemove " + std::to_string(kRangeFirst[0] + 60 * i) + " " +
                  std::to_string(kRangeFirst[1]) + " click 1 key ctrl+a type " + std::to_string(values[i]));
        }
    }
    // The snapshot files in the program's Snap folder, by name.
    std::vector<std::filesystem::path> Snapshots() const {
        std::vector<std::filesystem::path> files;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(program.Directory() / "Snap", error))
            if (entry.path().extension() == ".bmp") files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        return files;
    }
    // Waits for the count-th snapshot file and reads it.
    Surface WaitForSnapshot(std::size_t count) {
        std::vector<std::filesystem::path> files;
        EXPECT_TRUE(WaitUntil([&] { return (files = Snapshots()).size() >= count; }, 5s)) << "no snapshot file";
        if (files.size() < count) return {};
        std::ifstream in(files[count - 1], std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        DecodedBitmap decoded = DecodeBitmap(bytes.str());
        EXPECT_TRUE(decoded.picture) << decoded.error;
        return decoded.picture.value_or(Surface{});
    }
};

}  // namespace

TEST_F(SnapshotProgramTest, RangeSnapshotOfAWindowEqualsItPixelForPixel) {
    PatternWindow pattern(700, 500, 40, 30);
    SetRange(700, 500, 40, 30);
    Click(kSnapshotButton);
    const Surface picture = WaitForSnapshot(1);
    ASSERT_EQ(picture.Width(), 40);
    ASSERT_EQ(picture.Height(), 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(picture.Pixel(x, y), PatternWindow::ColourAt(x, y)) << x << "," << y;
    EXPECT_EQ(Snapshots()[0].filename().string().size(), std::string("20261206153045.bmp").size());
}

TEST_F(SnapshotProgramTest, ButtonSnapshotLeavesTheMainWindowOut) {
    // What the program's window shows, while it shows.
    Surface window(445, 313, 0);
    desktop->ReadArea(0, 0, window);
    Click(kSnapshotButton);
    const Surface picture = WaitForSnapshot(1);
    ASSERT_EQ(picture.Width(), desktop->Size().width);
    ASSERT_EQ(picture.Height(), desktop->Size().height);
    int same = 0;
    for (int y = 0; y < 313; ++y)
        for (int x = 0; x < 445; ++x) same += picture.Pixel(x, y) == window.Pixel(x, y);
    // The bare root window is one colour; the window had many.
    EXPECT_LT(same, 445 * 313 / 2) << "the snapshot shows the program's window";
    EXPECT_TRUE(WaitUntil([&] { return program.FindWindow() != 0; })) << "the window came back";
}

TEST_F(SnapshotProgramTest, PrintScreenSavesAndLeavesAPictureOnTheClipboard) {
    PatternWindow pattern(700, 500, 40, 30);
    SetRange(710, 505, 20, 10);
    Click(kCheck6);
    Shell("xdotool mousemove 900 900 key Print");
    const Surface picture = WaitForSnapshot(1);
    ASSERT_EQ(picture.Width(), 20);
    EXPECT_EQ(picture.Pixel(0, 0), PatternWindow::ColourAt(10, 5));
    std::string targets;
    EXPECT_TRUE(WaitUntil(
        [&] {
            targets = Shell("xclip -selection clipboard -t TARGETS -o 2>/dev/null");
            return targets.find("image/png") != std::string::npos;
        },
        5s))
        << targets;
    // What another program pastes is the picture.
    const std::string png = Shell(
        "xclip -selection clipboard -t image/png -o 2>/dev/null | convert png:- -format '%w %h %[pixel:p{0,0}]' info:");
    EXPECT_EQ(png.substr(0, 5), "20 10") << png;
}
