// SPDX-License-Identifier: MIT
// The current mouse cursor as Windows draws it: GetCursorInfo (looked up at run time),
// GetIconInfo and DrawIcon into memory bitmaps.
#pragma once

#include "platform/desktop.h"

namespace pelmora {

// The cursor shown now with the pointer position, its image drawn by DrawIcon over black
// (the colours, already multiplied by their coverage) and over white (which gives the
// coverage, the alpha).
CurrentCursor ReadCurrentCursor();

}  // namespace pelmora
