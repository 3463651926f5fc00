// SPDX-License-Identifier: MIT
#include "backends/x11/x11_window_tree.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "backends/x11/x11_replies.h"

namespace pelmora {

std::vector<xcb_window_t> ChildrenTopFirst(const xcb_query_tree_reply_t& tree) {
    // The server lists children bottom to top.
    const xcb_window_t* children = xcb_query_tree_children(&tree);
    std::vector<xcb_window_t> result(children, children + xcb_query_tree_children_length(&tree));
    std::reverse(result.begin(), result.end());
    return result;
}

std::optional<xcb_window_t> ClientBelow(xcb_connection_t* xcb, xcb_window_t frame, xcb_atom_t wmState) {
    std::vector<xcb_window_t> level{frame};
    for (int depth = 0; depth < kMostSearchLevels && !level.empty(); ++depth) {
        std::vector<xcb_query_tree_cookie_t> trees;
        trees.reserve(level.size());
        for (const xcb_window_t window : level) trees.push_back(xcb_query_tree(xcb, window));
        std::vector<xcb_window_t> next;
        for (const auto cookie : trees)
            if (const auto tree = Await(xcb_query_tree_reply, xcb, cookie)) {
                const std::vector<xcb_window_t> children = ChildrenTopFirst(*tree);
                next.insert(next.end(), children.begin(), children.end());
            }
        std::vector<xcb_get_property_cookie_t> states;
        states.reserve(next.size());
        for (const xcb_window_t window : next)
            states.push_back(xcb_get_property(xcb, 0, window, wmState, XCB_GET_PROPERTY_TYPE_ANY, 0, 0));
        std::optional<xcb_window_t> client;
        for (std::size_t i = 0; i < next.size(); ++i) {
            const auto state = Await(xcb_get_property_reply, xcb, states[i]);
            if (state && state->type != XCB_NONE && !client) client = next[i];
        }
        if (client) return client;
        level = std::move(next);
    }
    return std::nullopt;
}

}  // namespace pelmora
