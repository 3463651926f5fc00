// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <csignal>

#include "backends/x11/x11_desktop.h"
#include "sampling/colour_model.h"
#include "x11_test_support.h"

using namespace pelmora;
using namespace pelmora::testing;
using namespace std::chrono_literals;

namespace {

struct ProgramTest : ::testing::Test {
    std::unique_ptr<X11Connection> connection = X11Connection::Open();
    std::unique_ptr<X11Desktop> desktop;
    ProgramUnderTest program;
    unsigned long window = 0;
    int left = 0, top = 0;

    void SetUp() override {
        ASSERT_TRUE(connection);
        desktop = std::make_unique<X11Desktop>(*connection);
        program.Start();
        ASSERT_TRUE(WaitUntil([&] { return (window = program.FindWindow()) != 0; })) << "no window appeared";
        const std::string geometry = Shell("xdotool getwindowgeometry --shell " + std::to_string(window));
        ASSERT_EQ(std::sscanf(geometry.c_str(), "WINDOW=%*u X=%d Y=%d", &left, &top), 2) << geometry;
    }
    // Clicks at a point of the client area.
    void ClickAt(int x, int y) {
        Shell("xdotool mousemove " + std::to_string(left + x) + " " + std::to_string(top + y) + " click 1");
    }
    Colour ClientPixel(int x, int y) { return desktop->Pixel(left + x, top + y); }
};

}  // namespace

TEST_F(ProgramTest, WindowHasItsCaptionAndClientSize) {
    EXPECT_EQ(Shell("xdotool getwindowname " + std::to_string(window)), "Pelmorav3.50.1101正式版\n");
    const std::string geometry = Shell("xdotool getwindowgeometry --shell " + std::to_string(window));
    EXPECT_NE(geometry.find("WIDTH=445\nHEIGHT=313"), std::string::npos) << geometry;
}

TEST_F(ProgramTest, StartStopClickTurnsTheIndicatorRedThenGreen) {
    const int indicatorX = 332, indicatorY = 131;  // middle of Label8
    ASSERT_TRUE(WaitUntil([&] { return ClientPixel(indicatorX, indicatorY) == kColourGreen; }));
    ClickAt(352, 131);  // Check1
    EXPECT_TRUE(WaitUntil([&] { return ClientPixel(indicatorX, indicatorY) == kColourRed; }, 3s));
    ClickAt(352, 131);
    EXPECT_TRUE(WaitUntil([&] { return ClientPixel(indicatorX, indicatorY) == kColourGreen; }, 3s));
}

TEST_F(ProgramTest, MagnifierCellsShowThePixelsAroundThePointer) {
    // Another client shows 40 x 40 pixels, each of its own colour, away from the program.
    PatternWindow pattern(600, 400, 40, 40);
    ClickAt(352, 131);  // sampling on
    Shell("xdotool mousemove 620 420");

    const int viewLeft = left + 328 + 8 + 1, viewTop = top + 8 + 16 + 1;  // inside Picture1's border
    const auto cellShows = [&](int column, int row) {
        const int screenX = 620 - 5 + column, screenY = 420 - 5 + row;
        return desktop->Pixel(viewLeft + column * 8 + 4, viewTop + row * 8 + 4) == desktop->Pixel(screenX, screenY);
    };
    ASSERT_TRUE(WaitUntil([&] { return cellShows(5, 5); }, 3s)) << "the centre cell never showed the pointer's pixel";
    EXPECT_EQ(desktop->Pixel(viewLeft + 44, viewTop + 44), PatternWindow::ColourAt(20, 20));
    for (int row = 0; row < 11; ++row)
        for (int column = 0; column < 11; ++column) {
            const bool underMarker =
                (column == 5 && (row == 4 || row == 6)) || (row == 5 && (column == 4 || column == 6));
            if (!underMarker) {
                EXPECT_TRUE(cellShows(column, row)) << "cell " << column << "," << row;
            }
        }
    // The grid line between cells is dark grey, the marker above the centre red.
    EXPECT_EQ(desktop->Pixel(viewLeft + 8, viewTop + 3), 0x404040);
    EXPECT_EQ(desktop->Pixel(viewLeft + 44, viewTop + 36), kColourRed);
}

TEST_F(ProgramTest, SigtermEndsTheProgramWithinASecondThroughItsShutDown) {
    ClickAt(352, 131);  // sampling on: the shut-down must stop it and still exit cleanly
    EXPECT_TRUE(program.EndsCleanlyAfter(SIGTERM, 1000ms));
}

TEST_F(ProgramTest, SigintAndSighupEndItCleanlyToo) {
    EXPECT_TRUE(program.EndsCleanlyAfter(SIGINT, 1000ms));
    program.Start();
    ASSERT_TRUE(WaitUntil([&] { return program.FindWindow() != 0; }));
    EXPECT_TRUE(program.EndsCleanlyAfter(SIGHUP, 1000ms));
}
