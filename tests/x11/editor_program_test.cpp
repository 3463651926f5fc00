// SPDX-License-Identifier: MIT
// The bitmap editor of the real program on a desktop with a window manager, used with the
// mouse and keyboard as a user does: pencil, fill, zoom, middle-button panning, colour
// select with confirm, a crop by double-click, files opened and saved through the file
// dialogs, a picture pasted from another program and the screen taken, each checked
// against what the screen shows in the viewport, pixel for pixel.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "managed_program_test.h"
#include "x11_test_support.h"

using namespace pelmora::testing;
using namespace std::chrono_literals;

namespace {

// Centres of controls and places in the program's client area.
constexpr int kEditorPage[2] = {232, 282};                                        // Option2(4) "处理图"
constexpr int kTool[4][2] = {{36, 36}, {36, 60}, {36, 84}, {36, 108}};            // 控制(0..3)
constexpr int kZoomIn[2] = {412, 204}, kZoomOut[2] = {412, 228};                  // 缩放(0..1)
constexpr int kConfirm[2] = {37, 171};                                            // 确认
constexpr int kForeground[2] = {117, 259};                                        // 前背景色(0)
constexpr int kFileButton[4][2] = {{412, 36}, {412, 60}, {412, 84}, {412, 108}};  // 菜单按钮(0..3)
constexpr int kOutside[2] = {425, 150};                                           // beside the viewport
// The viewport's inside (within its one-pixel border) and where the display starts at the
// scroll values' minimum, (3, 3) inside the viewport.
constexpr int kViewportInside[2] = {16 + 40 + 1, 8 + 16 + 1};
constexpr int kViewportInsideWidth = 327, kViewportInsideHeight = 215;
constexpr int kDisplayAtStart[2] = {kViewportInside[0] + 3, kViewportInside[1] + 3};

constexpr unsigned long kLightGrey = 0xE0E0E0, kRed = 0xFF0000, kWhite = 0xFFFFFF, kBlack = 0;
constexpr unsigned long kViewportGrey = 0x808080, kGridGrey = 0x808080, kGridSilver = 0xC0C0C0;

// The working image as the test keeps track of it: colours as the screen shows them.
struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned long> pixels;
    Picture(int w, int h, unsigned long colour)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, colour) {}
    unsigned long& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    unsigned long At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

struct EditorProgramTest : ManagedProgramTest {
    std::string folder;  // the test's own files

    void SetUp() override {
        ManagedProgramTest::SetUp();
        if (HasFatalFailure()) return;
        char name[] = "/tmp/pelmora-editor-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
        StartProgram("控制(0)");
        Click(kEditorPage);
    }
    void TearDown() override {
        ManagedProgramTest::TearDown();
        if (!folder.empty()) Shell("rm -rf '" + folder + "'");
    }
    // Waits for the file dialog titled title, types path into it and presses Return.
    ::testing::AssertionResult AnswerFileDialog(const std::string& title, const std::string& path) {
        if (!WaitUntil([&] { return !Shell(desktop.On("xdotool search --name '^" + title + "$'")).empty(); }, 10s))
            return ::testing::AssertionFailure() << "no dialog " << title;
        Xdotool("type --delay 20 '" + path + "'");
        Xdotool("key Return");
        if (!WaitUntil([&] { return Shell(desktop.On("xdotool search --name '^" + title + "$'")).empty(); }, 10s))
            return ::testing::AssertionFailure() << "the dialog " << title << " stayed";
        return ::testing::AssertionSuccess();
    }
    // The pixels of a picture file as ImageMagick reads them.
    Picture ReadWithImageMagick(const std::string& path) {
        std::istringstream text(Shell("convert '" + path + "' -depth 8 txt:- 2>/dev/null"));
        std::string line;
        std::getline(text, line);  // "# ImageMagick pixel enumeration: W,H,255,srgb"
        int width = 0, height = 0;
        std::sscanf(line.c_str(), "# ImageMagick pixel enumeration: %d,%d", &width, &height);
        Picture picture(width, height, 0x123456);
        while (std::getline(text, line)) {
            int x = 0, y = 0;
            const auto hash = line.find('#');
            if (std::sscanf(line.c_str(), "%d,%d:", &x, &y) == 2 && hash != std::string::npos && x < width &&
                y < height)
                picture.At(x, y) = std::stoul(line.substr(hash + 1, 6), nullptr, 16);
        }
        return picture;
    }
    // The mouse at display point (x, y) while the display sits at origin in the client area.
    std::string At(const int (&origin)[2], int x, int y) const {
        return std::to_string(left + origin[0] + x) + " " + std::to_string(top + origin[1] + y);
    }
    // The viewport's inside as the screen shows it, colours 0xRRGGBB, row by row.
    std::vector<unsigned long> Viewport() {
        // Where the window is now: shown again after hiding, it may have been placed anew.
        std::tie(left, top) = client->OnScreen(programWindow, 0, 0);
        Xdotool("mousemove " + std::to_string(left + kOutside[0]) + " " + std::to_string(top + kOutside[1]));
        std::vector<unsigned long> shown;
        XImage* image =
            XGetImage(client->display(), client->root(), left + kViewportInside[0], top + kViewportInside[1],
                      kViewportInsideWidth, kViewportInsideHeight, AllPlanes, ZPixmap);
        if (!image) return shown;
        for (int y = 0; y < kViewportInsideHeight; ++y)
            for (int x = 0; x < kViewportInsideWidth; ++x) shown.push_back(XGetPixel(image, x, y) & 0xFFFFFF);
        XDestroyImage(image);
        return shown;
    }
    // Waits until the viewport shows picture at the given scale with the display's top-left
    // at displayLeft, displayTop inside the viewport; grey viewport around it.
    ::testing::AssertionResult ViewportShows(const Picture& picture, int scale, int displayLeft, int displayTop) {
        const auto expected = [&](int x, int y) -> unsigned long {
            const int dx = x - displayLeft, dy = y - displayTop;
            if (dx < 0 || dy < 0 || dx >= picture.width * scale || dy >= picture.height * scale) return kViewportGrey;
            if (scale == 8 && (dx % 8 == 0 || dy % 8 == 0)) return (dx + dy) % 2 == 0 ? kGridGrey : kGridSilver;
            return picture.At(dx / scale, dy / scale);
        };
        int wrong = 0, firstX = 0, firstY = 0;
        unsigned long firstShown = 0;
        const bool shown = WaitUntil(
            [&] {
                const std::vector<unsigned long> screen = Viewport();
                if (screen.empty()) return false;
                wrong = 0;
                for (int y = 0; y < kViewportInsideHeight; ++y)
                    for (int x = 0; x < kViewportInsideWidth; ++x) {
                        const unsigned long pixel = screen[static_cast<std::size_t>(y) * kViewportInsideWidth + x];
                        if (pixel == expected(x, y)) continue;
                        if (wrong++ == 0) firstX = x, firstY = y, firstShown = pixel;
                    }
                return wrong == 0;
            },
            5s);
        if (shown) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << wrong << " pixels differ, the first at (" << firstX << ", " << firstY
               << ") of the viewport: " << std::hex << firstShown << " instead of " << expected(firstX, firstY);
    }
};

}  // namespace

TEST_F(EditorProgramTest, DrawFillZoomPanPickAndCropShowTheWorkingImage) {
    Picture picture(153, 105, kLightGrey);
    const int inset = kDisplayAtStart[0] - kViewportInside[0];  // the display at (3, 3) of the inside
    ASSERT_TRUE(ViewportShows(picture, 1, inset, inset));

    // Pencil at 1:1: only the positions the mouse reports.
    Click(kTool[1]);
    Xdotool("mousemove " + At(kDisplayAtStart, 10, 10) + " mousedown 1 mousemove " + At(kDisplayAtStart, 20, 10) +
            " mouseup 1");
    picture.At(10, 10) = picture.At(20, 10) = kBlack;
    EXPECT_TRUE(ViewportShows(picture, 1, inset, inset));

    // Fill with a foreground of pure red typed into its box.
    Click(kForeground);
    Xdotool("key ctrl+a type FF");
    Click(kTool[2]);
    Xdotool("mousemove " + At(kDisplayAtStart, 50, 50) + " click 1");
    for (unsigned long& pixel : picture.pixels)
        if (pixel == kLightGrey) pixel = kRed;
    EXPECT_TRUE(ViewportShows(picture, 1, inset, inset));

    // Zoom in: 8:1 with the dotted grid; a black pencil dab paints its cell.
    Click(kZoomIn);
    EXPECT_TRUE(ViewportShows(picture, 8, inset, inset));
    Click(kForeground);
    Xdotool("key ctrl+a type 0");
    Click(kTool[1]);
    Xdotool("mousemove " + At(kDisplayAtStart, 8 * 4 + 3, 8 * 2 + 5) + " click 1");
    picture.At(4, 2) = kBlack;
    EXPECT_TRUE(ViewportShows(picture, 8, inset, inset));

    // The middle button drags the image with the hand: 100 left and 50 up moves the view
    // by as much (scroll values -12 + 100 and -12 + 50).
    Xdotool("mousemove " + At(kDisplayAtStart, 200, 150) + " mousedown 2 mousemove " + At(kDisplayAtStart, 100, 100) +
            " mouseup 2");
    EXPECT_TRUE(ViewportShows(picture, 8, inset - 100, inset - 50));

    // Colour select at 8:1: pick red, confirm with the white background: the black
    // pixels become white.
    Click(kTool[3]);
    const int panned[2] = {kDisplayAtStart[0] - 100, kDisplayAtStart[1] - 50};
    Xdotool("mousemove " + At(panned, 8 * 30 + 4, 8 * 12 + 4) + " click 1");
    Click(kConfirm);
    for (unsigned long& pixel : picture.pixels)
        if (pixel != kRed) pixel = kWhite;
    EXPECT_TRUE(ViewportShows(picture, 8, inset - 100, inset - 50));

    // Back to 1:1: the scroll ranges shrink below the values, which go back to the
    // minimum, so the image is in the corner again.
    Click(kZoomOut);
    ASSERT_TRUE(ViewportShows(picture, 1, inset, inset));

    // Crop the 40 x 30 block at (10, 5) by a double-click inside it.
    Click(kTool[0]);
    Xdotool("mousemove " + At(kDisplayAtStart, 10, 5) + " mousedown 1 mousemove " + At(kDisplayAtStart, 30, 20) +
            " mousemove " + At(kDisplayAtStart, 50, 35) + " mouseup 1");
    Xdotool("mousemove " + At(kDisplayAtStart, 20, 20) + " click --repeat 2 --delay 80 1");
    Picture cropped(40, 30, kRed);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) cropped.At(x, y) = picture.At(x + 10, y + 5);
    EXPECT_TRUE(ViewportShows(cropped, 1, inset, inset));
}

TEST_F(EditorProgramTest, OpenEditAndSaveThroughTheFileDialogs) {
    // A 40 x 30 green bitmap with one red pixel, written by ImageMagick.
    const std::string in = folder + "/in.bmp";
    Shell("convert -size 40x30 xc:'#00FF00' -fill '#FF0000' -draw 'point 5,5' BMP3:'" + in + "'");
    Picture picture(40, 30, 0x00FF00);
    picture.At(5, 5) = kRed;
    const int inset = kDisplayAtStart[0] - kViewportInside[0];

    Click(kFileButton[0]);
    ASSERT_TRUE(AnswerFileDialog("打开文件", in));
    ASSERT_TRUE(ViewportShows(picture, 1, inset, inset));

    Click(kTool[1]);
    Xdotool("mousemove " + At(kDisplayAtStart, 10, 10) + " click 1");
    picture.At(10, 10) = kBlack;
    ASSERT_TRUE(ViewportShows(picture, 1, inset, inset));

    Click(kFileButton[1]);
    ASSERT_TRUE(AnswerFileDialog("保存文件", folder + "/out"));  // ".bmp" is added
    ASSERT_TRUE(WaitUntil([&] { return Shell("test -s '" + folder + "/out.bmp' && echo yes") == "yes\n"; }, 5s));
    const Picture saved = ReadWithImageMagick(folder + "/out.bmp");
    ASSERT_EQ(saved.width, 40);
    ASSERT_EQ(saved.height, 30);
    EXPECT_EQ(saved.pixels, picture.pixels) << "the saved file holds exactly the pixels shown";
}

TEST_F(EditorProgramTest, PastesAPngAnotherProgramCopied) {
    const std::string png = folder + "/copied.png";
    Shell("convert -size 20x10 xc:'#0000FF' -fill '#FFFF00' -draw 'point 19,9' png:'" + png + "'");
    Shell(desktop.On("xclip -selection clipboard -t image/png -i '" + png + "' >/dev/null 2>&1"));
    Click(kFileButton[3]);
    Picture picture(20, 10, 0x0000FF);
    picture.At(19, 9) = 0xFFFF00;
    const int inset = kDisplayAtStart[0] - kViewportInside[0];
    EXPECT_TRUE(ViewportShows(picture, 1, inset, inset));
}

TEST_F(EditorProgramTest, TakesTheWholeScreenWithoutItsOwnWindow) {
    // The desktop is bare black but for the program's window, which hides while the
    // screen is taken: the picture is black all over. The window lies in the part of the
    // screen the viewport then shows.
    Xdotool("windowmove " + std::to_string(programWindow) + " 0 0");
    ASSERT_TRUE(WaitUntil(
        [&] {
            std::tie(left, top) = client->OnScreen(programWindow, 0, 0);
            return left < kViewportInsideWidth && top < kViewportInsideHeight;
        },
        5s))
        << "the window stayed at " << left << ", " << top;
    Click(kFileButton[2]);
    const int inset = kDisplayAtStart[0] - kViewportInside[0];
    EXPECT_TRUE(ViewportShows(Picture(1280, 1024, kBlack), 1, inset, inset));
}
