// SPDX-License-Identifier: MIT
// The two routines every window tool finds and describes windows with: the window under
// the mouse pointer, and a window's title and class name.
#pragma once

#include "platform/desktop.h"

namespace pelmora {

// The window at the pointer's position; 0 when there is none.
inline WindowHandle WindowUnderPointer(Desktop& desktop) { return desktop.WindowAt(desktop.PointerPos()); }

// Title and class name, each at most 254 bytes; empty for a handle that names no window.
// Both are read together, in one request to the desktop.
inline WindowTexts ReadWindowText(Desktop& desktop, WindowHandle window) { return desktop.ReadWindowTexts(window); }

}  // namespace pelmora
