// SPDX-License-Identifier: MIT
// How the Qt program tells a Wayland session from the variables a session manager sets.
#include <gtest/gtest.h>

#include "backends/posix/wayland_session.h"

namespace pelmora {
namespace {

TEST(QtSessionTest, WaylandByTheSessionTypeOrByAWaylandDisplay) {
    EXPECT_TRUE(IsWaylandSession("wayland", nullptr));
    EXPECT_TRUE(IsWaylandSession(nullptr, "wayland-0"));
    EXPECT_TRUE(IsWaylandSession("x11", "wayland-0")) << "a Wayland display is there whatever the type says";
    EXPECT_TRUE(IsWaylandSession("tty", "wayland-1"));
    EXPECT_FALSE(IsWaylandSession("x11", nullptr));
    EXPECT_FALSE(IsWaylandSession(nullptr, nullptr));
    EXPECT_FALSE(IsWaylandSession("", ""));
    EXPECT_FALSE(IsWaylandSession("x11", "")) << "an empty WAYLAND_DISPLAY names no display";
    EXPECT_FALSE(IsWaylandSession("Wayland-ish", nullptr));
}

}  // namespace
}  // namespace pelmora
