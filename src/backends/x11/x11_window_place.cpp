// SPDX-License-Identifier: MIT
// Where a window lies on the root and whether it is shown, over xcb: the window's own
// requests go out together, then the walk up to its top-level ancestor, one level a round.
#include <X11/Xlib-xcb.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>

#include "backends/x11/x11_desktop.h"
#include "backends/x11/x11_replies.h"
#include "backends/x11/x11_window_tree.h"
#include "search/search_area.h"

namespace pelmora {

namespace {
// ICCCM's WM_STATE value of a window its manager has iconified.
constexpr std::uint32_t kIconicState = 3;

bool Iconic(const xcb_get_property_reply_t* state) {
    if (!state || state->format != 32 || xcb_get_property_value_length(state) < 4) return false;
    return *static_cast<const std::uint32_t*>(xcb_get_property_value(state)) == kIconicState;
}

// The child of the root that holds window (window itself when it is one, or the root); nothing
// when a window on the way vanished or the tree is deeper than any window manager makes it.
std::optional<xcb_window_t> TopLevelAncestor(xcb_connection_t* xcb, xcb_window_t root, xcb_window_t window,
                                             xcb_window_t parent) {
    for (int level = 0; level < kMostSearchLevels; ++level) {
        if (parent == root || parent == XCB_NONE) return window;
        const auto tree = Await(xcb_query_tree_reply, xcb, xcb_query_tree(xcb, parent));
        if (!tree) return std::nullopt;
        window = std::exchange(parent, tree->parent);
    }
    return std::nullopt;
}
}  // namespace

WindowPlace X11Desktop::PlaceOfWindow(WindowHandle handle) {
    if (handle == 0 || !connection_.Alive()) return {};
    xcb_connection_t* xcb = XGetXCBConnection(connection_.display());
    const xcb_window_t root = connection_.root();
    // A negative handle becomes an id no window has, which the server refuses like a gone one.
    const auto window = static_cast<xcb_window_t>(handle);
    const auto attributesAsked = xcb_get_window_attributes(xcb, window);
    const auto geometryAsked = xcb_get_geometry(xcb, window);
    const auto cornerAsked = xcb_translate_coordinates(xcb, window, root, 0, 0);
    const auto treeAsked = xcb_query_tree(xcb, window);
    const auto stateAsked = xcb_get_property(xcb, 0, window, Atoms().wmState, XCB_GET_PROPERTY_TYPE_ANY, 0, 1);
    const auto attributes = Await(xcb_get_window_attributes_reply, xcb, attributesAsked);
    const auto geometry = Await(xcb_get_geometry_reply, xcb, geometryAsked);
    const auto corner = Await(xcb_translate_coordinates_reply, xcb, cornerAsked);
    const auto tree = Await(xcb_query_tree_reply, xcb, treeAsked);
    const auto state = Await(xcb_get_property_reply, xcb, stateAsked);
    if (!attributes || !geometry || !corner || !tree) {
        connection_.ReportIfBroken();
        return {};
    }
    if (attributes->map_state != XCB_MAP_STATE_VIEWABLE)
        return {Iconic(state.get()) ? WindowState::kMinimised : WindowState::kHidden};

    const std::optional<xcb_window_t> top = TopLevelAncestor(xcb, root, window, tree->parent);
    if (!top) return {};
    const auto outline = Await(xcb_get_geometry_reply, xcb, xcb_get_geometry(xcb, *top));
    if (!outline) return {};
    // A child of the root is placed by the outer corner of its border, and sized within it.
    const int border = 2 * outline->border_width;
    const ScreenRegion frame{outline->x, outline->y, outline->width + border, outline->height + border};
    const ScreenRegion client{corner->dst_x, corner->dst_y, geometry->width, geometry->height};
    const std::vector<ScreenRegion> monitors = Monitors();
    if (std::none_of(monitors.begin(), monitors.end(),
                     [&](const ScreenRegion& monitor) { return SearchArea(frame, monitor).has_value(); }))
        return {WindowState::kOffScreen};
    return {WindowState::kShown, frame, client};
}

}  // namespace pelmora
