// SPDX-License-Identifier: MIT
// Drawing a cursor image into a picture: the cursor's own pixels blended over what the
// picture holds, and the current cursor at its place on the screen (used by the feature
// code and by snapshots that include the cursor).
#pragma once

#include "platform/desktop.h"
#include "platform/surface.h"

namespace pelmora {

// Draws image with its top-left pixel at (left, top) of target, each pixel blended by
// its alpha over what target holds there, or XOR-ed onto it where the image marks it as
// inverting (as the platform draws such a cursor); pixels off target are skipped.
void DrawCursorImage(Surface& target, const CursorImage& image, int left, int top);

// Draws the current cursor into target so that the hot spot of a cursor at screen
// position (px, py) lands on (px - originX, py - originY). Draws nothing when no cursor
// is known.
void DrawCurrentCursor(Desktop& desktop, Surface& target, int originX, int originY);

}  // namespace pelmora
