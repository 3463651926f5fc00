// SPDX-License-Identifier: MIT
// The screen as the Python module's Screen sees it: one display connection held from open
// to close, every question answered by the engine pelmora-cli uses, and a lock so that
// threads may share it (one X request at a time; a search runs outside the lock on its grab).
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "search/picture_matches.h"
#include "search/point_pattern.h"

namespace pelmora {

class X11Connection;
class X11Desktop;

// A place found, on the screen.
struct ScreenMatch {
    ScreenPoint place;
    std::optional<double> score = std::nullopt;
    double scale = 1;
    std::size_t index = 0;
};

class PythonScreen {
public:
    // Opens the display named (DISPLAY's when empty); throws std::runtime_error saying why
    // when no X server answers there.
    explicit PythonScreen(const std::string& display);
    ~PythonScreen();
    PythonScreen(const PythonScreen&) = delete;
    PythonScreen& operator=(const PythonScreen&) = delete;

    // Closes the connection; harmless when closed. Every later call throws std::logic_error.
    void Close();

    ScreenPoint Pointer();
    // The colour at the point (the pointer's when none); -1 off the screen.
    Colour Pixel(std::optional<ScreenPoint> point);
    WindowHandle WindowAt(std::optional<ScreenPoint> point);
    WindowTexts Texts(WindowHandle window);
    WindowPlace Place(WindowHandle window);
    // Every titled top-level window from the top; with search those whose title holds it,
    // as the window page's title search lists them.
    std::vector<TopLevelWindow> Windows(const std::optional<std::string>& search);
    std::uint32_t CursorCode(int method);
    // The region (every monitor when none) clipped to the monitors, and its pixels; nothing
    // when it lies off the screen.
    std::optional<std::pair<ScreenRegion, Surface>> Grab(std::optional<ScreenRegion> region);

    std::vector<ScreenMatch> FindColour(Colour colour, std::optional<ScreenRegion> region, int tolerance, bool all);
    std::vector<ScreenMatch> FindImage(const std::vector<Surface>& pictures, std::optional<ScreenRegion> region,
                                       const PictureQuery& query);
    std::vector<ScreenMatch> FindPoints(const PointPattern& pattern, std::optional<ScreenRegion> region, int tolerance,
                                        std::optional<double> similarity, bool all);

private:
    // The desktop, held with the lock; throws once closed.
    X11Desktop& Open();

    std::mutex mutex_;
    std::unique_ptr<X11Connection> connection_;
    std::unique_ptr<X11Desktop> desktop_;
};

}  // namespace pelmora
