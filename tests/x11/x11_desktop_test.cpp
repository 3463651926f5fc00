#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <memory>

#include "platform/x11/x11_desktop.h"
#include "sampling/colour_model.h"
#include "x11_test_support.h"

using namespace pelmora;
using pelmora::testing::Shell;

namespace {

struct X11DesktopTest : ::testing::Test {
    std::unique_ptr<X11Connection> connection = X11Connection::Open();
    std::unique_ptr<X11Desktop> desktop;
    Display* other = XOpenDisplay(nullptr);  // another client: windows of known colour

    void SetUp() override {
        ASSERT_TRUE(connection) << "no X server on DISPLAY";
        ASSERT_TRUE(other);
        desktop = std::make_unique<X11Desktop>(*connection);
    }
    void TearDown() override {
        if (other) XCloseDisplay(other);
    }

    // A mapped window without a frame, filled with the X pixel value rgb (0xRRGGBB).
    ::Window ShowColouredWindow(int x, int y, int width, int height, unsigned long rgb) {
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        attributes.background_pixel = rgb;
        const ::Window window = XCreateWindow(other, DefaultRootWindow(other), x, y, width, height, 0, CopyFromParent,
                                              InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
        XMapRaised(other, window);
        XSync(other, False);
        return window;
    }
};

}  // namespace

TEST_F(X11DesktopTest, PointerFollowsXdotoolAndWarpsWhereAsked) {
    Shell("xdotool mousemove 123 45");
    EXPECT_EQ(desktop->PointerPos(), (ScreenPoint{123, 45}));

    desktop->SetPointerPos({200, 300});
    EXPECT_EQ(Shell("xdotool getmouselocation --shell | head -2 | tr '\\n' ' '"), "X=200 Y=300 ");
}

TEST_F(X11DesktopTest, ScreenSizeIsTheRootWindowSize) {
    const ScreenSize size = desktop->Size();
    const std::string dimensions = std::to_string(size.width) + "x" + std::to_string(size.height) + " pixels";
    EXPECT_NE(Shell("xdpyinfo | grep dimensions").find(dimensions), std::string::npos) << dimensions;
}

TEST_F(X11DesktopTest, PixelOfAWindowOfKnownColourInRedGreenBlueOrder) {
    const ::Window window = ShowColouredWindow(50, 60, 40, 30, 0x123456);  // red 12, green 34, blue 56
    EXPECT_EQ(desktop->Pixel(60, 70), 0x563412);
    EXPECT_EQ(desktop->Pixel(50, 60), 0x563412);
    EXPECT_EQ(desktop->Pixel(89, 89), 0x563412);
    XDestroyWindow(other, window);
    XSync(other, False);
}

TEST_F(X11DesktopTest, PointsOffTheScreenGiveNoPixel) {
    const ScreenSize size = desktop->Size();
    EXPECT_EQ(desktop->Pixel(-1, 0), -1);
    EXPECT_EQ(desktop->Pixel(0, -1), -1);
    EXPECT_EQ(desktop->Pixel(size.width, 0), -1);
    EXPECT_EQ(desktop->Pixel(0, size.height), -1);
    EXPECT_NE(desktop->Pixel(size.width - 1, size.height - 1), -1);
}

TEST_F(X11DesktopTest, AreaReadMatchesSinglePixelsAndSkipsWhatIsOffTheScreen) {
    const ::Window window = ShowColouredWindow(0, 0, 6, 6, 0xFF0000);
    Surface area(10, 10, 7);
    desktop->ReadArea(-3, -3, area);
    EXPECT_EQ(area.Pixel(0, 0), 7);  // off the screen: left as it was
    EXPECT_EQ(area.Pixel(2, 9), 7);
    EXPECT_EQ(area.Pixel(3, 3), kColourRed);
    for (int y = 3; y < 10; ++y)
        for (int x = 3; x < 10; ++x) EXPECT_EQ(area.Pixel(x, y), desktop->Pixel(x - 3, y - 3)) << x << "," << y;
    XDestroyWindow(other, window);
    XSync(other, False);
}

TEST_F(X11DesktopTest, RefusedRequestsDoNotEndTheProcess) {
    X11ErrorTrap trap(connection->display());
    XDestroyWindow(connection->display(), 0x7ffffff0);  // no such window: BadWindow
    EXPECT_TRUE(trap.Failed());
    EXPECT_NE(desktop->Pixel(0, 0), -1);  // the connection still works
}
