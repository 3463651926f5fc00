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
    DrawingTools(EditorCanvas& canvas, SelectionBox& selection, ColourBoxes& colours, Dialogs& dialogs);

    // The tool buttons in the column left of the viewport, the confirm button under the
    // colour squares, the status label at the bottom right; wires the display's mouse.
    void Place(ControlHost& host, Frame& page);

    void 控制_Click(int index);
    // Mouse events on the display, positions in display pixels.
    void 显示图像_MouseDown(int button, float x, float y);
    void 显示图像_MouseMove(int button, float x, float y);
    void 显示图像_MouseUp(int button, float x, float y);
    // Crops the working image to the selection when the last position lies inside it.
    void 显示图像_DblClick();
    // Keeps the picked colours: every other pixel takes the background colour.
    void 确认_Click();

    std::array<OptionButton, 4> 控制;
    std::array<PointerImage, 4> 鼠标;  // pencil, colour select, fill, rectangle drawing
    CommandButton 确认;
    Label 坐标;

private:
    void Pencil(float x, float y);
    void Fill(float x, float y);
    void PickColour(float x, float y);
    void StartCut(float x, float y);
    // A move with the left button held while a cut drag runs: draws or moves the box.
    void DragCut(float& x, float& y);
    void EndCut();
    // Whether the point lies in the box, its rounded bounds kept as SelectionRect.
    bool HitsSelection(float x, float y);
    // The pointer over the box (four-way arrows) or elsewhere (the rectangle pointer), and
    // the last position, for every move in cut mode.
    void TrackCutPointer(float x, float y);
    void ShowStatus(float x, float y);
    // The display's pointer becomes the custom picture 鼠标(index).
    void UseToolPointer(int index);
    // The image pixel under display point (x, y) at the current zoom.
    Cell ImagePixel(float x, float y) const;

    EditorCanvas& canvas_;
    SelectionBox& selection_;
    ColourBoxes& colours_;
    Dialogs& dialogs_;
};

}  // namespace pelmora
