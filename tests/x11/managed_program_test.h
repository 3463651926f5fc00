// SPDX-License-Identifier: MIT
// The real program on a desktop with a window manager (openbox), read over AT-SPI as
// desktop test tools read it: the base of the tests that drive the program the way a user
// does. A test puts its other programs' windows on the desktop, then starts the program.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "atspi_client.h"
#include "managed_desktop.h"
#include "server_cursor.h"

namespace pelmora::testing {

struct ManagedProgramTest : ::testing::Test {
    static inline std::string accessibilityBus;
    ManagedDesktop desktop;
    std::optional<DesktopClient> client;  // another program on the desktop
    ProgramUnderTest program;
    unsigned long programWindow = 0;
    int left = 0, top = 0;  // the program's client area on the screen

    static void SetUpTestSuite() { accessibilityBus = AccessibleTree::StartAccessibilityBus(); }

    void SetUp() override;
    void TearDown() override;
    // Starts the program and waits until openbox framed it and the control named control
    // is on the accessibility bus.
    void StartProgram(const std::string& control);
    // Windows of the other program, 100 x 100 at y = 40 from x = 900, 120 pixels apart, each
    // showing the X font cursor of its shape (XC_hand2 and the like); right of where the
    // program's cursor page shows, so that the program never covers them.
    std::vector<XWindowId> ShowCursorWindows(std::initializer_list<unsigned> shapes);
    // Moves the pointer to the middle of a window ShowCursorWindows made and returns the
    // cursor the server shows there once the pointer has arrived.
    ServerCursor PointAtMiddleOf(XWindowId window);

    AccessibleTree Tree() const { return AccessibleTree::Read(accessibilityBus, program.Pid()); }
    void Xdotool(const std::string& arguments) { Shell(desktop.On("xdotool " + arguments)); }
    // A click at (x, y) of the program's client area.
    void Click(int x, int y) {
        Xdotool("mousemove " + std::to_string(left + x) + " " + std::to_string(top + y) + " click 1");
    }
    void Click(const int (&at)[2]) { Click(at[0], at[1]); }
};

}  // namespace pelmora::testing
