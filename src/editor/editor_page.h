// The page "处理图片" (Frame2(4)): the bitmap editor's canvas, selection, colour boxes and
// tools, placed together and put into their start-up state together.
#pragma once

#include "editor/colour_boxes.h"
#include "editor/drawing_tools.h"
#include "editor/editor_canvas.h"
#include "editor/selection_box.h"
#include "platform/controls.h"
#include "platform/dialogs.h"

namespace pelmora {

class EditorPage {
public:
    explicit EditorPage(Dialogs& dialogs) : canvas(dialogs), tools(canvas, selection, colours, dialogs) {}

    void Place(ControlHost& host, Frame& page);
    // The editor step of start-up.
    void Reset();

    EditorCanvas canvas;
    SelectionBox selection;
    ColourBoxes colours;
    DrawingTools tools;
};

}  // namespace pelmora
