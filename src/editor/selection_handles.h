// SPDX-License-Identifier: MIT
// Resizing the cut selection by its handles 调节点: the bottom, bottom-right and right ones
// move the box's far edges with the pointer (the top-left corner stays), the others only
// show a sizing pointer; on release the box is cut back to the picture and, at 8:1,
// snapped to whole cells.
#pragma once

#include "editor/editor_canvas.h"
#include "editor/selection_box.h"
#include "platform/desktop.h"

namespace pelmora {

// What a handle drag starts from: the box's edges and the pointer's screen position.
struct HandleDragRecord {
    float left = 0, top = 0, right = 0, bottom = 0;  // the box's edges at the press
    ScreenPoint start;                               // the pointer at the press
    ScreenPoint current;                             // the pointer now
};

// The sizing pointer shown over handle index: diagonal at the corners, vertical at the
// top and bottom middles, horizontal at the left and right middles.
MousePointer HandlePointer(int index);

class SelectionHandles {
public:
    // The handles resize selection, whose mode canvas keeps; desktop gives the pointer.
    SelectionHandles(EditorCanvas& canvas, SelectionBox& selection, Desktop& desktop)
        : canvas_(canvas), selection_(selection), desktop_(desktop) {}

    // Connects the eight handles' mouse events.
    void Wire();

    // A left press on any handle while a selection exists starts a drag.
    void 调节点_MouseDown(int index, int button);
    // Shows the handle's sizing pointer and, while a drag runs, resizes the box.
    void 调节点_MouseMove(int index);
    // Ends the drag: the box cut back to the picture and, at 8:1, snapped to the cells.
    void 调节点_MouseUp(int index);

    HandleDragRecord HandleDragAnchor;  // where the running drag started

private:
    EditorCanvas& canvas_;
    SelectionBox& selection_;
    Desktop& desktop_;
};

}  // namespace pelmora
