// SPDX-License-Identifier: MIT
// The editor's tools and the display's mouse handling: the tool buttons 控制 (cut,
// pencil, fill, colour select) with their pointers, painting with the foreground colour,
// replacing one colour all over the image, picking the colours to keep and the confirm
// button that keeps them, drawing and moving the cut rectangle, cropping by double-click,
// and the status label 坐标.
#pragma once

#include <array>
#include <cstdint>

#include "editor/colour_boxes.h"
#include "editor/editor_canvas.h"
#include "editor/selection_box.h"
#include "editor/zoom_cells.h"
#include "platform/controls.h"
#include "platform/dialogs.h"

namespace pelmora {

class DrawingTools {
public:
    // The tools show on canvas and change its state, cut with selection, paint with the
    // colours; dialogs show the pick list's error.
    DrawingTools(EditorCanvas& canvas, SelectionBox& selection, ColourBoxes& colours, Dialogs& dialogs);

    // The tool buttons in the column left of the viewport, the confirm button under the
    // colour squares, the status label at the bottom right; wires the display's mouse.
    void Place(ControlHost& host, Frame& page);

    // Tool button index chosen: 0 cut, 1 pencil, 2 fill, 3 colour select.
    void 控制_Click(int index);
    // Mouse events on the display, positions in display pixels.
    void 显示图像_MouseDown(int button, float x, float y);
    void 显示图像_MouseMove(int button, float x, float y);
    void 显示图像_MouseUp(int button, float x, float y);
    // Crops the working image to the selection when the last position lies inside it.
    void 显示图像_DblClick();
    // Keeps the picked colours: every other pixel takes the background colour.
    void 确认_Click();

    // The last position over the display in cut mode, which a double-click crops at.
    float LastMouseX() const { return LastMouseX_; }
    float LastMouseY() const { return LastMouseY_; }

    std::array<OptionButton, 4> 控制;  // the tool buttons: cut, pencil, fill, colour select
    std::array<PointerImage, 4> 鼠标;  // pencil, colour select, fill, rectangle drawing
    CommandButton 确认;                // confirm: keep only the picked colours
    Label 坐标;                        // the status: image pixel and its colour under the pointer

private:
    // Paints the pixel (1:1) or the cell (8:1) under the point in the foreground colour.
    void Pencil(float x, float y);
    // Gives the clicked colour, all over the working image, the foreground colour.
    void Fill(float x, float y);
    // Adds the colour under the point to the picks and marks it red (1:1) or with a red
    // and a green square (8:1).
    void PickColour(float x, float y);
    // The cut tool's left press: a move of the box when it hits it, else a new rectangle.
    void StartCut(float x, float y);
    // A move with the left button held while a cut drag runs: draws or moves the box.
    void DragCut(float& x, float& y);
    // The cut tool's left release: a drawn box exists now; at 8:1 it snaps to the cells.
    void EndCut();
    // Whether the point lies in the box, its rounded bounds kept as SelectionRect.
    bool HitsSelection(float x, float y);
    // The pointer over the box (four-way arrows) or elsewhere (the rectangle pointer), and
    // the last position, for every move in cut mode.
    void TrackCutPointer(float x, float y);
    // The status label: the image pixel under the point and its colour.
    void ShowStatus(float x, float y);
    // The display's pointer becomes the custom picture 鼠标(index).
    void UseToolPointer(int index);
    // The image pixel under display point (x, y) at the current zoom.
    Cell ImagePixel(float x, float y) const;

    EditorCanvas& canvas_;
    SelectionBox& selection_;
    ColourBoxes& colours_;
    Dialogs& dialogs_;
    // Where the current rectangle was started, and where a move of it started.
    float SelectAnchorX_ = 0, SelectAnchorY_ = 0;
    float MoveAnchorX_ = 0, MoveAnchorY_ = 0;
    // The last position over the display in cut mode, moves with the middle button aside.
    float LastMouseX_ = 0, LastMouseY_ = 0;
    // The box's rounded bounds at the last hit test: left, top, right, bottom.
    std::array<std::int32_t, 4> SelectionRect_{};
};

}  // namespace pelmora
