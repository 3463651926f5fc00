// SPDX-License-Identifier: MIT
#include "managed_program_test.h"

#include <X11/Xlib.h>

#include <csignal>

namespace pelmora::testing {

using namespace std::chrono_literals;

void ManagedProgramTest::SetUp() {
    ASSERT_TRUE(desktop.Ready()) << "openbox did not take the screen";
    client.emplace(desktop.Display());
    ASSERT_TRUE(client->display());
}

std::vector<XWindowId> ManagedProgramTest::ShowCursorWindows(std::initializer_list<unsigned> shapes) {
    std::vector<XWindowId> windows;
    int x = 900;
    for (const unsigned shape : shapes) {
        const XWindowId window = client->CreateUnmanaged(client->root(), x, 40, 100, 100);
        const Cursor cursor = XCreateFontCursor(client->display(), shape);
        XDefineCursor(client->display(), window, cursor);
        XFreeCursor(client->display(), cursor);
        windows.push_back(window);
        x += 120;
    }
    client->Sync();
    return windows;
}

ServerCursor ManagedProgramTest::PointAtMiddleOf(XWindowId window) {
    const auto [x, y] = client->OnScreen(window, 50, 50);
    const int wantedX = x, wantedY = y;  // a lambda cannot capture the bindings in clang 14
    Xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y));
    ServerCursor cursor;
    EXPECT_TRUE(WaitUntil(
        [&] {
            cursor = ReadServerCursor(client->display());
            return cursor.x == wantedX && cursor.y == wantedY;
        },
        3s));
    return cursor;
}

void ManagedProgramTest::StartProgram(const std::string& control) {
    program.Start(desktop.Display());
    ASSERT_TRUE(WaitUntil([&] { return (programWindow = program.FindWindow(desktop.Display())) != 0; }, 20s));
    ASSERT_TRUE(WaitUntil([&] { return client->IsManaged(programWindow); }));
    std::tie(left, top) = client->OnScreen(programWindow, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return Tree().Find(control) != nullptr; }, 20s)) << "not on the bus";
}

void ManagedProgramTest::TearDown() {
    // A program left running must end cleanly; one the test ended itself has been checked.
    if (program.Pid() > 0) {
        EXPECT_TRUE(program.EndsCleanlyAfter(SIGTERM, 3000ms));
    }
    client.reset();
    desktop.Stop();
}

}  // namespace pelmora::testing
