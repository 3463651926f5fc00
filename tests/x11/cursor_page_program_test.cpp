// SPDX-License-Identifier: MIT
// The cursor page of the real program on a desktop with a window manager: the live code
// and the hotkey captures, read over AT-SPI, against the code worked out from the cursor
// image the X server shows. Other programs' windows carry their own cursors (an X, a
// hand, a text beam), as the windows of a user's desktop do.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/cursorfont.h>

#include <set>

#include "managed_program_test.h"
#include "server_cursor.h"

using namespace pelmora::testing;
using namespace std::chrono_literals;

namespace {

// Centres of controls in the program's client area.
constexpr int kCursorPage[2] = {88, 282};                                 // Option2(1) "抓鼠标"
constexpr int kMethodBox[2] = {182, 254};                                 // Combo1
constexpr int kSwatchLeft = 45, kFirstSwatchTop = 223, kSwatchStep = 17;  // 鼠标块(0..2)

struct CursorPageProgramTest : ManagedProgramTest {
    std::vector<XWindowId> shapes;  // windows with the X, hand and text-beam cursors

    void SetUp() override {
        ManagedProgramTest::SetUp();
        if (HasFatalFailure()) return;
        shapes = ShowCursorWindows({XC_X_cursor, XC_hand2, XC_xterm});
        StartProgram("鼠标特征码");
        ASSERT_LT(left + 445, 900) << "the program lies under the shape windows";
    }

    // Waits until the code box shows code; says what it showed.
    ::testing::AssertionResult CodeShows(std::uint32_t code) {
        std::string shown;
        if (WaitUntil([&] { return (shown = Tree().TextOf("鼠标特征码")) == std::to_string(code); }, 10s))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the code box shows " << shown << ", not " << code;
    }
};

}  // namespace

TEST_F(CursorPageProgramTest, LiveCodeFollowsTheCursorUnderThePointerForEveryMethod) {
    Click(kCursorPage);
    Xdotool("key alt+grave");  // sampling on
    std::set<std::uint32_t> byDefault;
    for (int method = 0; method <= 2; ++method) {
        if (method > 0) {
            // The next entry of the method box, chosen from its open list.
            Click(kMethodBox);
            Xdotool("key --delay 100 Down Return");
        }
        for (std::size_t i = 0; i < shapes.size(); ++i) {
            const ServerCursor cursor = PointAtMiddleOf(shapes[i]);
            EXPECT_TRUE(CodeShows(ExpectedCode(cursor, method))) << "shape " << i << ", method " << method;
            if (method == 0) byDefault.insert(ExpectedCode(cursor, method));
        }
    }
    EXPECT_EQ(byDefault.size(), 3u) << "the default method tells the three shapes apart";
}

TEST_F(CursorPageProgramTest, HotkeysCaptureIntoTheThreeSwatchesWhileAnotherProgramHasTheFocus) {
    Click(kCursorPage);
    // Another program takes the focus; sampling stays off, so only the hotkeys compute.
    const XWindowId notepad = client->Create(40, 700, 200, 120);
    ASSERT_TRUE(client->MapManaged(notepad));
    const auto [nx, ny] = client->OnScreen(notepad, 100, 60);
    Xdotool("mousemove " + std::to_string(nx) + " " + std::to_string(ny) + " click 1");
    ASSERT_TRUE(WaitUntil(
        [&] {
            ::Window focus = 0;
            int revert = 0;
            XGetInputFocus(client->display(), &focus, &revert);
            return focus == notepad;
        },
        3s));

    const char* const keys[3] = {"ctrl+alt+q", "ctrl+alt+w", "ctrl+alt+e"};
    std::uint32_t captured[3];
    for (std::size_t i = 0; i < 3; ++i) {
        captured[i] = ExpectedCode(PointAtMiddleOf(shapes[i]), 0);
        Xdotool(std::string("key ") + keys[i]);
        EXPECT_TRUE(CodeShows(captured[i])) << keys[i];
    }
    // Each swatch kept its own code: selecting one shows it again.
    for (int i : {0, 1, 2, 0}) {
        Click(kSwatchLeft, kFirstSwatchTop + i * kSwatchStep);
        EXPECT_TRUE(CodeShows(captured[i])) << "swatch " << i + 1;
    }
}
