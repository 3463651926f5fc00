// SPDX-License-Identifier: MIT
// The window's slots as a pattern for pelmora-cli, on a desktop with openbox: three points of
// another program's window grabbed with the slot hotkeys, the window closed so that it saves
// them, and a copy of pelmora-cli beside the program finding them, where the window's own
// lookup puts the settings file, once that window has moved.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include "cli_painted_window.h"
#include "managed_program_test.h"
#include "sampling/colour_model.h"

using namespace pelmora::testing;
using namespace std::chrono_literals;

namespace {

// Every pixel of the 60 x 40 pattern window has a colour of its own.
constexpr int kWidth = 60, kHeight = 40;
std::int32_t PatternColour(int x, int y) { return (x * 4) | (y * 6) << 8 | 0x50 << 16; }
// The pattern window's points grabbed into slots 1, 2 and 3.
constexpr int kPoints[3][2] = {{10, 10}, {45, 12}, {20, 33}};

std::string PointText(std::pair<int, int> point) {
    return std::to_string(point.first) + "," + std::to_string(point.second);
}

struct CliSlotsProgramTest : ManagedProgramTest {
    XWindowId ShowPattern(int x, int y) {
        const XWindowId window = client->Create(x, y, kWidth, kHeight);
        ShowPicture(*client, window, kWidth, kHeight, PatternColour);
        EXPECT_TRUE(client->MapManaged(window));
        return window;
    }
    // What the copy of pelmora-cli beside the program prints.
    std::string CliBesideTheProgram(const std::string& arguments) {
        return Shell(desktop.On((program.Directory() / "pelmora-cli").string() + " " + arguments + " 2>&1"));
    }
};

}  // namespace

TEST_F(CliSlotsProgramTest, SlotsGrabbedInTheWindowFindTheirPatternWhereverItMoved) {
    const XWindowId first = ShowPattern(700, 300);
    StartProgram("坐标颜色(0)");
    std::string slots;
    for (int i = 0; i < 3; ++i) {
        const auto at = client->OnScreen(first, kPoints[i][0], kPoints[i][1]);
        const std::string text = PointText(at) + " " + pelmora::ColorHex6(PatternColour(kPoints[i][0], kPoints[i][1]));
        Xdotool("mousemove " + std::to_string(at.first) + " " + std::to_string(at.second) + " key ctrl+alt+" +
                std::to_string(i + 1));
        const std::string slot = "坐标颜色(" + std::to_string(i) + ")";
        ASSERT_TRUE(WaitUntil([&] { return Tree().TextOf(slot) == text; }, 5s)) << slot << ": " << Tree().TextOf(slot);
        slots += std::to_string(i + 1) + " " + text + "\n";
    }
    ASSERT_TRUE(program.EndsCleanlyAfter(SIGTERM, 3000ms));  // the slots are saved on the way out

    ASSERT_TRUE(client->DestroyManaged(first));
    const XWindowId moved = ShowPattern(150, 500);
    std::filesystem::copy_file(PELMORA_CLI_EXECUTABLE, program.Directory() / "pelmora-cli");
    EXPECT_EQ(CliBesideTheProgram("slots"), slots);
    EXPECT_EQ(CliBesideTheProgram("find-points --slots 1-3"), PointText(client->OnScreen(moved, 10, 10)) + "\n");
    EXPECT_EQ(CliBesideTheProgram("find-points --slots 3,1,2 --all"),
              PointText(client->OnScreen(moved, 20, 33)) + "\n");
}
