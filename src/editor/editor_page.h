// SPDX-License-Identifier: MIT
// The page "处理图片" (Frame2(4)): the bitmap editor's canvas, selection with its handles,
// colour boxes, tools, history buttons and image files, placed together and put into their
// start-up state together.
#pragma once

#include "editor/colour_boxes.h"
#include "editor/drawing_tools.h"
#include "editor/editor_canvas.h"
#include "editor/history_buttons.h"
#include "editor/image_files.h"
#include "editor/selection_box.h"
#include "editor/selection_handles.h"
#include "platform/controls.h"
#include "platform/platform.h"

namespace pelmora {

class EditorPage {
public:
    // window is the main window, hidden while the screen is taken; screen is the primary
    // screen as measured at start-up.
    EditorPage(Platform platform, ControlHost& window, const ScreenRegion& screen)
        : canvas(platform.dialogs),
          handles(canvas, selection, platform.desktop),
          tools(canvas, selection, colours, platform.dialogs),
          history(canvas),
          files(platform, window, canvas, selection, tools, screen) {}

    // Every part's controls on the page, the tool column first.
    void Place(ControlHost& host, Frame& page);
    // The editor step of start-up.
    void Reset();

    EditorCanvas canvas;       // the viewport, the pictures and the editor's state
    SelectionBox selection;    // the cut selection with its handles and size label
    SelectionHandles handles;  // resizing the selection by its handles
    ColourBoxes colours;       // the foreground and background colours
    DrawingTools tools;        // the tool buttons and the display's mouse
    HistoryButtons history;    // back and forward through the history ring
    ImageFiles files;          // open, save, take the screen, paste, drop
};

}  // namespace pelmora
