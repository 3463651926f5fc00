// SPDX-License-Identifier: MIT
#include "backends/posix/wayland_session.h"

#include <cstdlib>
#include <cstring>

namespace pelmora {

bool IsWaylandSession(const char* sessionType, const char* waylandDisplay) {
    return (sessionType && std::strcmp(sessionType, "wayland") == 0) || (waylandDisplay && *waylandDisplay);
}

bool InWaylandSession() { return IsWaylandSession(std::getenv("XDG_SESSION_TYPE"), std::getenv("WAYLAND_DISPLAY")); }

}  // namespace pelmora
