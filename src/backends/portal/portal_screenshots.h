// SPDX-License-Identifier: MIT
// Screenshots from the desktop portal (org.freedesktop.portal.Screenshot), the one way a
// Wayland desktop gives a program its screen, on GNOME, KDE and wlroots desktops alike. Asked
// over the session bus with GDBus: GLib's D-Bus client is what the portal itself is built on
// and what every such desktop already has, and it offers what a blocking client needs here (a
// call, a signal subscription before it, a private main context run until the answer or a
// deadline), where sd-bus would tie the program to systemd's library.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "backends/posix/mapped_file.h"

namespace pelmora {

class PortalScreenshots {
public:
    // Connects to the session bus; throws ScreenRefused saying why when there is none.
    // Each screenshot, a dialog the desktop may show first included, must come within
    // PELMORA_PORTAL_TIMEOUT seconds (whole, 1 to 3600; 30 when unset); a value that is not
    // such a number is refused the same way.
    PortalScreenshots();
    ~PortalScreenshots();
    PortalScreenshots(const PortalScreenshots&) = delete;
    PortalScreenshots& operator=(const PortalScreenshots&) = delete;

    // One screenshot of the whole desktop, without asking the user to choose an area: the
    // PNG file the portal wrote, mapped, and removed at once, so that a wait of many looks
    // leaves no pictures behind. Throws ScreenRefused when the desktop refused
    // it, gave no answer in time, or its file could not be read.
    MappedFile Take();

private:
    struct Bus;
    std::unique_ptr<Bus> bus_;
    std::chrono::seconds answerTimeout_;
    unsigned taken_ = 0;
};

}  // namespace pelmora
