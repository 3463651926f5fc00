// SPDX-License-Identifier: MIT
// The feature code of real cursors: cursor-font shapes set as the root window's cursor,
// read by the X11 desktop, and checked against a code worked out here from the server's
// own cursor image, pixel by pixel.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/cursorfont.h>

#include <map>
#include <memory>

#include "cursor/cursor_drawing.h"
#include "cursor/feature_code.h"
#include "backends/x11/x11_desktop.h"
#include "server_cursor.h"
#include "x11_test_support.h"

using namespace pelmora;
using namespace pelmora::testing;

namespace {

struct CursorCodeX11Test : ::testing::Test {
    std::unique_ptr<X11Connection> connection = X11Connection::Open();
    std::unique_ptr<X11Desktop> desktop;
    // Another client that sets the root window's cursor, as xsetroot does, but stays
    // connected: the server refuses the image of a cursor whose client has left (BadAccess).
    Display* other = XOpenDisplay(nullptr);
    PictureBox preview;

    void SetRootCursor(unsigned shape) {
        const Cursor cursor = XCreateFontCursor(other, shape);
        XDefineCursor(other, DefaultRootWindow(other), cursor);
        XFreeCursor(other, cursor);
        XSync(other, False);
    }

    void SetUp() override {
        ASSERT_TRUE(connection) << "no X server on DISPLAY";
        ASSERT_TRUE(other);
        desktop = std::make_unique<X11Desktop>(*connection);
        preview.EditImage().Resize(39, 39, 0);
        // Over the bare root window, whose cursor xsetroot sets.
        Shell("xdotool mousemove 1100 900");
    }
    void TearDown() override {
        if (!other) return;
        XUndefineCursor(other, DefaultRootWindow(other));
        XCloseDisplay(other);
    }
};

}  // namespace

TEST_F(CursorCodeX11Test, CodesOfRealCursorsMatchTheServersImageForEveryMethod) {
    std::map<unsigned, std::uint32_t> byShape;
    for (const unsigned shape : {XC_X_cursor, XC_hand2, XC_xterm, XC_left_ptr}) {
        SetRootCursor(shape);
        const ServerCursor server = ReadServerCursor(other);
        ASSERT_GT(server.width, 0) << shape;

        const CurrentCursor read = desktop->ReadCursor();
        ASSERT_TRUE(read.known) << shape;
        EXPECT_EQ(read.position, (ScreenPoint{1100, 900}));
        EXPECT_EQ(read.image.width, server.width) << shape;
        EXPECT_EQ(read.image.hotX, server.hotX) << shape;
        EXPECT_EQ(read.image.hotY, server.hotY) << shape;

        for (int method = 0; method <= 2; ++method)
            EXPECT_EQ(CursorFeatureCode(*desktop, preview, method), ExpectedCode(server, method))
                << shape << " method " << method;
        byShape[shape] = CursorFeatureCode(*desktop, preview, 0);
    }
    // The shapes tell themselves apart.
    EXPECT_NE(byShape[XC_X_cursor], byShape[XC_hand2]);
    EXPECT_NE(byShape[XC_hand2], byShape[XC_xterm]);
    EXPECT_NE(byShape[XC_xterm], byShape[XC_left_ptr]);
}

TEST_F(CursorCodeX11Test, CurrentCursorIsDrawnWithItsHotSpotOnThePointer) {
    SetRootCursor(XC_hand2);
    const ServerCursor server = ReadServerCursor(other);
    Surface target(64, 64, 0);
    DrawCurrentCursor(*desktop, target, 1100 - 20, 900 - 30);
    // Every opaque pixel of the image lands at its place from the hot spot at (20, 30).
    int opaque = 0;
    for (int y = 0; y < server.height; ++y) {
        for (int x = 0; x < server.width; ++x) {
            const unsigned long argb = server.argb[static_cast<std::size_t>(y) * server.width + x];
            if ((argb >> 24 & 0xFF) != 0xFF) continue;
            ++opaque;
            ASSERT_EQ(target.Pixel(20 - server.hotX + x, 30 - server.hotY + y), ColourValue(argb)) << x << "," << y;
        }
    }
    EXPECT_GT(opaque, 10);
}

TEST_F(CursorCodeX11Test, CursorOfAClientThatLeftStillGivesThePointerPosition) {
    // xsetroot ends at once; the server may refuse the image of its cursor from then on.
    // The read then knows no cursor but still where the pointer is, and the code comes
    // from the screen there.
    Shell("xsetroot -cursor_name hand2");
    const CurrentCursor read = desktop->ReadCursor();
    EXPECT_EQ(read.position, (ScreenPoint{1100, 900}));
    if (read.known) {
        EXPECT_EQ(read.image.pixels.size(), static_cast<std::size_t>(read.image.width * read.image.height));
    }
}
