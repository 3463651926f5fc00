// SPDX-License-Identifier: MIT
#include "programs/python/python_screen.h"

#include <stdexcept>
#include <string>

#include "backends/portal/portal_desktop.h"
#include "backends/posix/wayland_session.h"
#include "backends/x11/x11_connection.h"
#include "backends/x11/x11_desktop.h"
#include "capture/screen_grab.h"
#include "cursor/feature_code.h"
#include "sampling/screen_reading.h"
#include "search/screen_search.h"
#include "search/search_area.h"
#include "windows/window_list.h"
#include "windows/window_relative_desktop.h"

namespace pelmora {

namespace {
constexpr const char* kLost = "lost the connection to the X server";
}  // namespace

PythonScreen::PythonScreen(const std::string& display, const std::string& backend) {
    if (backend != "" && backend != "x11" && backend != "wayland")
        throw std::invalid_argument("backend: wants \"x11\" or \"wayland\", got \"" + backend + "\"");
    if (backend == "wayland" || (backend.empty() && InWaylandSession())) {
        try {
            portal_ = std::make_unique<PortalScreenshots>();
        } catch (const ScreenRefused& refused) {
            throw DisplayFailure(refused.what());
        }
        desktop_ = std::make_unique<PortalDesktop>(*portal_);
        return;
    }
    connection_ = X11Connection::Open(display.empty() ? nullptr : display.c_str());
    if (!connection_) throw DisplayFailure("cannot connect to the X server (display " + display + ")");
    // Xlib ends the process when the server goes away, unless this handler returns: then
    // the connection is only marked lost, and the call says so instead of Python ending.
    XSetIOErrorExitHandler(
        connection_->display(), [](Display*, void*) {}, nullptr);
    desktop_ = std::make_unique<X11Desktop>(*connection_);
}

PythonScreen::~PythonScreen() = default;

void PythonScreen::Close() {
    const std::lock_guard lock(mutex_);
    desktop_.reset();
    portal_.reset();
    connection_.reset();
}

template <typename Call>
auto PythonScreen::Checked(Call call) {
    const std::lock_guard lock(mutex_);
    if (!desktop_) throw std::logic_error("the screen is closed");
    // What was read from a connection lost meanwhile is no answer: a pixel of -1 or an empty
    // list must not pass for "not there". A broken xcb connection is told to Xlib first.
    const auto lost = [&] {
        if (!connection_) return false;
        connection_->ReportIfBroken();
        return !connection_->Alive();
    };
    if (lost()) throw DisplayFailure(kLost);
    try {
        auto answer = call(*desktop_);
        if (lost()) throw DisplayFailure(kLost);
        return answer;
    } catch (const DisplayFailure&) {
        throw;
    } catch (const ScreenRefused& refused) {
        throw DisplayFailure(refused.what());
    } catch (...) {
        if (lost()) throw DisplayFailure(kLost);
        throw;
    }
}

template <typename Call>
auto PythonScreen::Seen(const Relative& relative, Call call) {
    return Checked([&](Desktop& desktop) {
        if (!relative) return call(desktop, std::optional<ScreenRegion>{});
        WindowRelativeDesktop inWindow(desktop, relative->window, relative->client);
        if (const auto unusable = inWindow.Follow()) throw WindowNotShown(*unusable);
        return call(static_cast<Desktop&>(inWindow), std::optional<ScreenRegion>{inWindow.Area()});
    });
}

ScreenPoint PythonScreen::Pointer(const Relative& relative) {
    return Seen(relative, [](Desktop& desktop, const auto&) { return GetPointerPos(desktop); });
}

Colour PythonScreen::Pixel(std::optional<ScreenPoint> point, const Relative& relative) {
    return Seen(relative, [&](Desktop& desktop, const auto&) {
        const ScreenPoint at = PointOrPointer(desktop, point);
        return GetScreenPixel(desktop, at.x, at.y);
    });
}

WindowHandle PythonScreen::WindowAt(std::optional<ScreenPoint> point, const Relative& relative) {
    return Seen(relative,
                [&](Desktop& desktop, const auto&) { return desktop.WindowAt(PointOrPointer(desktop, point)); });
}

WindowTexts PythonScreen::Texts(WindowHandle window) {
    return Checked([&](Desktop& desktop) { return desktop.ReadWindowTexts(window); });
}

WindowPlace PythonScreen::Place(WindowHandle window) {
    return Checked([&](Desktop& desktop) { return desktop.PlaceOfWindow(window); });
}

std::vector<TopLevelWindow> PythonScreen::Windows(const std::optional<std::string>& search) {
    return Checked([&](Desktop& desktop) { return WindowsTitled(desktop, search.value_or("")); });
}

std::uint32_t PythonScreen::CursorCode(int method) {
    return Checked([&](Desktop& desktop) { return CursorFeatureCode(desktop, method); });
}

std::optional<std::pair<ScreenRegion, Surface>> PythonScreen::Grab(std::optional<ScreenRegion> region,
                                                                   const Relative& relative) {
    return Seen(relative,
                [&](Desktop& desktop,
                    const std::optional<ScreenRegion>& window) -> std::optional<std::pair<ScreenRegion, Surface>> {
                    const std::optional<ScreenRegion> area =
                        SearchArea(region ? region : window, desktop.AllMonitors());
                    if (!area) return std::nullopt;
                    std::optional<Surface> pixels =
                        GrabScreenArea(desktop, area->left, area->top, area->width, area->height, false);
                    if (!pixels) throw std::runtime_error("the screen could not be read");
                    return std::pair{*area, std::move(*pixels)};
                });
}

namespace {
// The places a search hands over, moved from the area's corner to the screen; only the
// first without all.
class Collected {
public:
    Collected(const ScreenRegion& area, bool all) : area_(area), all_(all) {}
    bool Add(ScreenMatch match) {
        match.place = {area_.left + match.place.x, area_.top + match.place.y};
        matches.push_back(match);
        return all_;
    }
    std::vector<ScreenMatch> matches;

private:
    ScreenRegion area_;
    bool all_;
};
}  // namespace

std::vector<ScreenMatch> PythonScreen::FindColour(Colour colour, std::optional<ScreenRegion> region, int tolerance,
                                                  bool all, const Relative& relative) {
    const auto grab = Grab(region, relative);
    if (!grab) return {};
    Collected collected(grab->first, all);
    FindColourIn(grab->second, colour, tolerance, [&](ScreenPoint place) { return collected.Add({place}); });
    return collected.matches;
}

std::vector<ScreenMatch> PythonScreen::FindImage(const std::vector<Surface>& pictures,
                                                 std::optional<ScreenRegion> region, const PictureQuery& query,
                                                 const Relative& relative) {
    const auto grab = Grab(region, relative);
    if (!grab) return {};
    Collected collected(grab->first, query.all);
    FindPictures(grab->second, pictures, query, [&](const PictureMatch& found) {
        return collected.Add({found.place, found.score, found.factor, found.index});
    });
    return collected.matches;
}

std::vector<ScreenMatch> PythonScreen::FindPoints(const PointPattern& pattern, std::optional<ScreenRegion> region,
                                                  int tolerance, std::optional<double> similarity, bool all,
                                                  const Relative& relative) {
    const auto grab = Grab(region, relative);
    if (!grab) return {};
    Collected collected(grab->first, all);
    FindPointsIn(grab->second, pattern, tolerance, similarity,
                 [&](ScreenPoint place) { return collected.Add({place}); });
    return collected.matches;
}

}  // namespace pelmora
