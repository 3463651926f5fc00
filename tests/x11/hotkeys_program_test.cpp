// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <csignal>
#include <fstream>
#include <sstream>

#include "backends/x11/x11_desktop.h"
#include "sampling/colour_model.h"
#include "x11_test_support.h"

using namespace pelmora;
using namespace pelmora::testing;
using namespace std::chrono_literals;

namespace {

std::string Setting(const std::filesystem::path& file, const std::string& key) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    }
    return "<none>";
}

struct HotkeysProgramTest : ::testing::Test {
    std::unique_ptr<X11Connection> connection = X11Connection::Open();
    std::unique_ptr<X11Desktop> desktop;
    ProgramUnderTest program;
    PatternWindow pattern{600, 400, 40, 40};

    void SetUp() override {
        ASSERT_TRUE(connection);
        desktop = std::make_unique<X11Desktop>(*connection);
    }
    // The hotkeys are grabbed (and synced with the server) during start-up, before the
    // window is mapped: once it is visible they are in place.
    void StartProgram() {
        program.Start();
        ASSERT_TRUE(WaitUntil([&] { return program.FindWindow() != 0; }));
    }
    std::filesystem::path Settings() const { return program.Directory() / "zarade.ini"; }
    // Slot i's swatch, as the screen shows it (the window sits at 0, 0 without a frame).
    Colour Swatch(int i) { return desktop->Pixel(16 + 8 + 3, 8 + 16 + i * 17 + 3); }
    Colour FirstSwatch() { return Swatch(0); }
};

}  // namespace

TEST_F(HotkeysProgramTest, GrabbedSlotsReachTheFileAndComeBackOnTheNextStart) {
    StartProgram();
    Shell("xdotool mousemove 610 420 key ctrl+alt+1");
    ASSERT_TRUE(WaitUntil([&] { return FirstSwatch() == PatternWindow::ColourAt(10, 20); }, 3s));

    Shell("xdotool key Num_Lock");  // hotkeys must work with NumLock on as well
    Shell("xdotool mousemove 635 405 key ctrl+alt+0");
    const bool tenthGrabbed = WaitUntil([&] { return Swatch(9) == PatternWindow::ColourAt(35, 5); }, 3s);
    Shell("xdotool key Num_Lock");
    ASSERT_TRUE(tenthGrabbed);
    ASSERT_TRUE(program.EndsCleanlyAfter(SIGTERM, 1000ms));

    EXPECT_EQ(Setting(Settings(), "Position0X"), "610");
    EXPECT_EQ(Setting(Settings(), "Position0Y"), "420");
    EXPECT_EQ(Setting(Settings(), "Color0"), std::to_string(PatternWindow::ColourAt(10, 20)));
    EXPECT_EQ(Setting(Settings(), "Position9X"), "635");
    EXPECT_EQ(Setting(Settings(), "Color9"), std::to_string(PatternWindow::ColourAt(35, 5)));

    Shell("xdotool mousemove 700 700");
    StartProgram();
    EXPECT_TRUE(WaitUntil([&] { return FirstSwatch() == PatternWindow::ColourAt(10, 20); }, 3s));
}

TEST_F(HotkeysProgramTest, UpArrowMovesThePointerOnePixel) {
    StartProgram();
    Shell("xdotool mousemove 500 300 key Up");
    EXPECT_TRUE(WaitUntil([&] { return desktop->PointerPos() == ScreenPoint{500, 299}; }, 2s));
    Shell("xdotool key Right");
    EXPECT_TRUE(WaitUntil([&] { return desktop->PointerPos() == ScreenPoint{501, 299}; }, 2s));
}

TEST_F(HotkeysProgramTest, KeyHeldByAnotherProgramCostsOnlyThatHotkey) {
    // Another client holds Ctrl+Alt+2 (with and without NumLock) before the program starts.
    Display* other = XOpenDisplay(nullptr);
    ASSERT_TRUE(other);
    const KeyCode two = XKeysymToKeycode(other, XK_2);
    for (unsigned extra : {0u, static_cast<unsigned>(Mod2Mask)})
        XGrabKey(other, two, ControlMask | Mod1Mask | extra, DefaultRootWindow(other), True, GrabModeAsync,
                 GrabModeAsync);
    XSync(other, False);

    StartProgram();
    Shell("xdotool mousemove 610 420 key ctrl+alt+2");
    Shell("xdotool key ctrl+alt+1");
    EXPECT_TRUE(WaitUntil([&] { return FirstSwatch() == PatternWindow::ColourAt(10, 20); }, 3s));
    EXPECT_TRUE(program.Running());
    ASSERT_TRUE(program.EndsCleanlyAfter(SIGTERM, 1000ms));
    EXPECT_EQ(Setting(Settings(), "Position1X"), "<none>");
    XCloseDisplay(other);
}
