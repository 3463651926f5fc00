// SPDX-License-Identifier: MIT
// The windows below a window: its children in stacking order, and the client a frame holds.
#pragma once

#include <xcb/xcb.h>

#include <optional>
#include <vector>

namespace pelmora {

// A search for a client below a top-level window goes no deeper than this.
inline constexpr int kMostSearchLevels = 8;

// The children of tree's window, the topmost first.
std::vector<xcb_window_t> ChildrenTopFirst(const xcb_query_tree_reply_t& tree);

// The client below a frame that the walk down did not meet (the frame's title bar or
// border is at the point): the first window with WM_STATE, level by level, top first.
std::optional<xcb_window_t> ClientBelow(xcb_connection_t* xcb, xcb_window_t frame, xcb_atom_t wmState);

}  // namespace pelmora
