// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>

#include "unit/cli_fixture.h"

using namespace pelmora;
using namespace pelmora::testing;

namespace {
struct CliWindowTest : CliCommandTest {
    // Window 7: its frame at 20,10 (40 x 30), its client area at 22,15 (36 x 23).
    CliWindowTest() {
        desktop.windows = {{7, {20, 10, 40, 30}, "Probe – 1", "Test", true, Rect{22, 15, 36, 23}},
                           {8, {0, 0, 100, 50}, "Desktop", "Root", true}};
        desktop.screen.SetPixel(30, 20, 0x0000FE);
        desktop.screen.SetPixel(5, 5, 0x0000FE);
    }
    // Finds nothing, and says why in a message that holds what.
    void NotFoundSaying(std::initializer_list<std::string> args, const std::string& what) {
        EXPECT_NE(NotFound(args).find(what), std::string::npos) << what;
    }
};
}  // namespace

TEST_F(CliWindowTest, OperandsRegionsAndAnswersAreRelativeToTheFrameOrTheClientArea) {
    EXPECT_EQ(Out({"pixel", "10", "10", "--window", "7"}), "0000FE\n");
    EXPECT_EQ(Out({"pixel", "8", "5", "--window", "7", "--client"}), "0000FE\n");
    EXPECT_EQ(Out({"find-colour", "0000FE", "--window", "7"}), "10,10\n");  // within the window alone
    EXPECT_EQ(Out({"find-colour", "0000FE", "--title", "robe", "--client", "--all"}), "8,5\n");
    // A region reaching out of the window is clipped by the screen only, after the offset.
    EXPECT_EQ(Out({"find-colour", "0000FE", "--window", "7", "--region", "-100,-100,200,200", "--all"}),
              "-15,-5\n10,10\n");
    EXPECT_EQ(Out({"pointer", "--window", "7"}), "-10,10\n");
    EXPECT_EQ(Out({"--json", "window-at", "0", "0", "--window", "7", "--client"}), "{\"x\":0,\"y\":0,\"handle\":7}\n");
    EXPECT_EQ(Out({"--json", "snapshot", "--window", "7", "w.bmp"}),
              "{\"path\":\"w.bmp\",\"left\":0,\"top\":0,\"width\":40,\"height\":30}\n");
    EXPECT_EQ(Out({"--json", "window-rect", "--title", "\"Probe\"", "--client"}),
              "{\"handle\":7,\"left\":22,\"top\":15,\"width\":36,\"height\":23}\n");
    EXPECT_EQ(Out({"window-rect", "7"}), "20,10,40,30\n");
}

TEST_F(CliWindowTest, AWindowNotShownIsNamedAndNeverMeasured) {
    NotFoundSaying({"pixel", "0", "0", "--window", "99"}, "no window 99");
    NotFoundSaying({"window-rect", "--title", "Nothing"}, "no window title holds \"Nothing\"");
    desktop.windows[0].minimised = true;
    NotFoundSaying({"window-rect", "7"}, "window 7 is minimised");
    desktop.windows[0] = {7, {20, 10, 40, 30}, "Probe", "Test", false};
    NotFoundSaying({"find-colour", "0000FE", "--window", "7"}, "window 7 is hidden");
    desktop.windows[0] = {7, {100, 10, 40, 30}, "Probe", "Test", true};
    NotFoundSaying({"pointer", "--window", "7"}, "window 7 lies off every monitor");
}

TEST_F(CliWindowTest, AWaitFollowsItsWindowUntilItCloses) {
    // The window moves 10 pixels right, and its spot turns green 100 ms in.
    afterSleep = [this] {
        desktop.windows[0].area.left = 30;
        if (clock.now >= 100) desktop.screen.SetPixel(40, 20, 0x00FF00);
    };
    EXPECT_EQ(Out({"wait-colour", "10", "10", "00FF00", "--window", "7"}), "00FF00\n");
    EXPECT_EQ(sleeps.size(), 2u);
    sleeps.clear();
    afterSleep = [this] { desktop.windows.erase(desktop.windows.begin()); };
    NotFoundSaying({"wait-change", "--window", "7"}, "no window 7");
    EXPECT_EQ(sleeps.size(), 1u);
}

TEST_F(CliWindowTest, WaitChangeFramesEveryChangedPixel) {
    afterSleep = [this] {
        if (clock.now < 150) return;
        desktop.screen.SetPixel(35, 12, 0);
        desktop.screen.SetPixel(24, 30, 0);
        desktop.screen.SetPixel(50, 30, 0);
    };
    EXPECT_EQ(Out({"wait-change", "--region", "20,10,40,30"}), "24,12,27,19\n");
    EXPECT_EQ(sleeps.size(), 3u);
    NotFoundSaying({"wait-change", "--window", "7", "--timeout", "0"}, "no change within 0 ms");
}

TEST_F(CliWindowTest, WaitStableEndsOnceNothingChangedForTheTimeGiven) {
    afterSleep = [this] {
        if (clock.now <= 200) desktop.screen.SetPixel(1, 1, static_cast<std::int32_t>(clock.now));
    };
    EXPECT_EQ(Out({"wait-stable", "--for", "100", "--region", "0,0,5,5"}), "300\n");
    clock.now = 0;
    afterSleep = nullptr;
    EXPECT_EQ(Out({"--json", "wait-stable", "--for", "100", "--region", "0,0,5,5"}), "{\"waited\":100}\n");
    EXPECT_EQ(Run({"wait-stable", "--for", "200", "--timeout", "100"}).status, kCliBadArguments);
    EXPECT_EQ(Run({"wait-stable"}).status, kCliBadArguments);
}
