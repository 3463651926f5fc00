// SPDX-License-Identifier: MIT
// Whether the desktop session is Wayland, where an X11 client sees only other X11 clients.
#pragma once

namespace pelmora {

// From the variables a session manager sets: XDG_SESSION_TYPE "wayland", or a
// WAYLAND_DISPLAY (either may be null when unset).
bool IsWaylandSession(const char* sessionType, const char* waylandDisplay);
// The same for this process's environment.
bool InWaylandSession();

}  // namespace pelmora
