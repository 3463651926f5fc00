// SPDX-License-Identifier: MIT
// The screen as the Python module's Screen sees it: one display connection held from open
// to close, every question answered by the engine pelmora-cli uses, and a lock so that
// threads may share it (one X request at a time; a search runs outside the lock on its grab).
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "search/picture_matches.h"
#include "search/point_pattern.h"

namespace pelmora {

class X11Connection;
class PortalScreenshots;

// A place found, on the screen.
struct ScreenMatch {
    ScreenPoint place;
    std::optional<double> score = std::nullopt;
    double scale = 1;
    std::size_t index = 0;
};

// The window a call's coordinates are relative to: its frame's corner, or its client area's.
struct RelativeTo {
    WindowHandle window = 0;
    bool client = false;
};
using Relative = std::optional<RelativeTo>;

// The window of a call's coordinates is gone, minimised, hidden or off every monitor.
struct WindowNotShown : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// No X server could be reached, or it went away: pelmora.DisplayError.
struct DisplayFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class PythonScreen {
public:
    // backend "x11" opens the display named (DISPLAY's when empty); throws DisplayFailure
    // when no X server answers there. A server that goes away later makes every call throw
    // it; the process lives on. "wayland" reads the screen through the desktop portal, and a
    // refused or unanswered screenshot is a DisplayFailure too. "" chooses wayland in a
    // Wayland session, x11 elsewhere; any other name is std::invalid_argument.
    PythonScreen(const std::string& display, const std::string& backend);
    ~PythonScreen();
    PythonScreen(const PythonScreen&) = delete;
    PythonScreen& operator=(const PythonScreen&) = delete;

    // Closes the connection; harmless when closed. Every later call throws std::logic_error.
    void Close();

    // Every call taking a Relative takes and gives coordinates relative to that window, whose
    // rectangle is then the region when none is given; WindowNotShown when it cannot be.
    ScreenPoint Pointer(const Relative& relative);
    // The colour at the point (the pointer's when none); -1 off the screen.
    Colour Pixel(std::optional<ScreenPoint> point, const Relative& relative);
    WindowHandle WindowAt(std::optional<ScreenPoint> point, const Relative& relative);
    WindowTexts Texts(WindowHandle window);
    WindowPlace Place(WindowHandle window);
    // Every titled top-level window from the top; with search those whose title holds it,
    // as the window page's title search lists them.
    std::vector<TopLevelWindow> Windows(const std::optional<std::string>& search);
    std::uint32_t CursorCode(int method);
    // The region (every monitor when none) clipped to the monitors, and its pixels; nothing
    // when it lies off the screen.
    std::optional<std::pair<ScreenRegion, Surface>> Grab(std::optional<ScreenRegion> region, const Relative& relative);

    std::vector<ScreenMatch> FindColour(Colour colour, std::optional<ScreenRegion> region, int tolerance, bool all,
                                        const Relative& relative);
    std::vector<ScreenMatch> FindImage(const std::vector<Surface>& pictures, std::optional<ScreenRegion> region,
                                       const PictureQuery& query, const Relative& relative);
    std::vector<ScreenMatch> FindPoints(const PointPattern& pattern, std::optional<ScreenRegion> region, int tolerance,
                                        std::optional<double> similarity, bool all, const Relative& relative);

private:
    // Runs call on the desktop with the lock held; throws once closed, and DisplayFailure
    // when the server has gone away, before the call or during it.
    template <typename Call>
    auto Checked(Call call);
    // Runs call on the desktop as relative sees it, with the region a search takes when none
    // is given (the window's rectangle, or every monitor); held with the lock.
    template <typename Call>
    auto Seen(const Relative& relative, Call call);

    std::mutex mutex_;
    std::unique_ptr<X11Connection> connection_;  // none on the portal
    std::unique_ptr<PortalScreenshots> portal_;  // none on X11
    std::unique_ptr<Desktop> desktop_;
};

}  // namespace pelmora
