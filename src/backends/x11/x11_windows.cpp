// SPDX-License-Identifier: MIT
// The windows of the desktop: the client window at a point, a window's title and class,
// and the walk over every top-level window.
//
// These go over xcb on the program's own Xlib connection. xcb lets a batch of requests
// go out before the first reply is read, so a walk over a thousand windows costs a few
// round trips instead of thousands. And the error of a request that has a reply comes
// back with that reply instead of reaching Xlib's error handler, so a window destroyed
// in the middle of a walk or a read costs only itself. Every request sent here has a
// reply, and every reply is either read or discarded, so no error ever reaches Xlib.
#include <X11/Xlib-xcb.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "backends/x11/x11_desktop.h"
#include "backends/x11/x11_replies.h"
#include "backends/x11/x11_top_level_walk.h"
#include "backends/x11/x11_window_at_point.h"
#include "backends/x11/x11_window_text.h"
#include "backends/x11/x11_window_tree.h"

namespace pelmora {

X11Desktop::WindowAtoms X11Desktop::Atoms() {
    if (atoms_) return *atoms_;
    xcb_connection_t* xcb = XGetXCBConnection(connection_.display());
    const std::string_view names[] = {"WM_STATE", "_NET_WM_NAME", "UTF8_STRING", "_NET_CLIENT_LIST"};
    xcb_intern_atom_cookie_t cookies[std::size(names)];
    for (std::size_t i = 0; i < std::size(names); ++i)
        cookies[i] = xcb_intern_atom(xcb, 0, static_cast<std::uint16_t>(names[i].size()), names[i].data());
    std::uint32_t atoms[std::size(names)];
    bool all = true;
    for (std::size_t i = 0; i < std::size(names); ++i) {
        const auto reply = Await(xcb_intern_atom_reply, xcb, cookies[i]);
        atoms[i] = reply ? reply->atom : XCB_NONE;
        all = all && reply;
    }
    const WindowAtoms interned{atoms[0], atoms[1], atoms[2], atoms[3]};
    if (all) atoms_ = interned;  // after a failure (a broken connection) they are asked for again
    return interned;
}

WindowHandle X11Desktop::WindowAt(ScreenPoint point) {
    prefetched_.reset();
    if (!connection_.Alive()) return 0;
    const ScreenSize size = Size();
    if (point.x < 0 || point.y < 0 || point.x >= size.width || point.y >= size.height) {
        lastAnswer_ = 0;
        return 0;
    }
    xcb_connection_t* xcb = XGetXCBConnection(connection_.display());
    const WindowAtoms atoms = Atoms();
    const X11WindowTextReader reader(connection_.display(), xcb, atoms.netWmName, atoms.utf8String);
    // A window that vanishes under the walk sends it round again, on the windows as they
    // are now.
    for (int attempt = 0; attempt < 3; ++attempt) {
        PointWalkResult walk =
            WalkToPoint(xcb, connection_.root(), atoms.wmState, point, lastPath_, lastAnswer_, reader);
        if (!walk.answer) {
            lastAnswer_ = XCB_NONE;
            continue;
        }
        xcb_window_t answer = walk.answer->window;
        // A frame's title bar or border at the point: the window there is the client it frames.
        if (!walk.answer->client && !lastPath_.empty())
            answer = ClientBelow(xcb, lastPath_.front(), atoms.wmState).value_or(answer);
        lastAnswer_ = answer;
        if (walk.answerTexts && !walk.answerTexts->windowGone && answer == walk.answer->window)
            prefetched_ = PrefetchedTexts{answer,
                                          {std::move(walk.answerTexts->title), std::move(walk.answerTexts->className)},
                                          std::chrono::steady_clock::now()};
        return static_cast<WindowHandle>(answer);
    }
    return 0;
}

WindowTexts X11Desktop::ReadWindowTexts(WindowHandle window) {
    std::optional<PrefetchedTexts> prefetched = std::exchange(prefetched_, std::nullopt);
    if (window == 0 || !connection_.Alive()) return {};
    if (prefetched && prefetched->window == static_cast<std::uint32_t>(window) &&
        std::chrono::steady_clock::now() - prefetched->readAt <= kPrefetchedTextsLife)
        return std::move(prefetched->texts);
    xcb_connection_t* xcb = XGetXCBConnection(connection_.display());
    const WindowAtoms atoms = Atoms();
    const X11WindowTextReader reader(connection_.display(), xcb, atoms.netWmName, atoms.utf8String);
    // A negative handle becomes an id no window has, which the server refuses like a gone one.
    X11WindowTextReader::Texts texts = reader.Collect(reader.Ask(static_cast<xcb_window_t>(window), {.wmClass = true}));
    if (texts.windowGone) return {};
    return {std::move(texts.title), std::move(texts.className)};
}

std::vector<TopLevelWindow> X11Desktop::TopLevelWindows() {
    if (!connection_.Alive()) return {};
    xcb_connection_t* xcb = XGetXCBConnection(connection_.display());
    const WindowAtoms atoms = Atoms();
    const X11WindowTextReader reader(connection_.display(), xcb, atoms.netWmName, atoms.utf8String);
    return X11TopLevelWalk(xcb, connection_.root(), atoms.wmState, atoms.netClientList, reader).Run();
}

}  // namespace pelmora
