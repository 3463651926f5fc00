// SPDX-License-Identifier: MIT
// The walk down from the root to the window at a screen point, checking the way the last
// walk went along with its first request, so that a pointer resting on one window costs a
// single round trip.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/desktop.h"
#include "backends/x11/x11_window_text.h"

namespace pelmora {

// What a walk down found at a point: the first client on the way, else the deepest window.
struct FoundAtPoint {
    xcb_window_t window = XCB_NONE;
    bool client = false;
};

struct PointWalkResult {
    // Nothing when a window on the way vanished meanwhile.
    std::optional<FoundAtPoint> answer;
    // Read along, when the answer was the last one.
    std::optional<X11WindowTextReader::Texts> answerTexts;
};

// One walk to the window at point. path holds the windows the last walk went through,
// from the root's child down, and afterwards this walk's. The texts of the last walk's
// answer go out with its first request too: while the pointer rests on a window (or on
// the bare root), the texts the caller asks for next are already there.
PointWalkResult WalkToPoint(xcb_connection_t* xcb, xcb_window_t root, xcb_atom_t wmState, ScreenPoint point,
                            std::vector<std::uint32_t>& path, xcb_window_t lastAnswer,
                            const X11WindowTextReader& reader);

}  // namespace pelmora
