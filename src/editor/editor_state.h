// SPDX-License-Identifier: MIT
// The editor's state variables that its tools, selection handles and file buttons share:
// the tool, the cut drag, the selection's mode, the handle drag and the picked colours.
// Every change goes through a method named for the step that makes it.
#pragma once

#include <cstdint>
#include <vector>

#include "editor/editor_modes.h"
#include "platform/dialogs.h"
#include "platform/surface.h"

namespace pelmora {

class EditorState {
public:
    // The current tool; the cut tool from the start.
    ToolMode ToolModeNow() const { return ToolMode_; }
    // A tool button, the confirm button or a new picture chooses the tool.
    void SetToolMode(ToolMode mode) { ToolMode_ = mode; }

    // No cut under way and no selection: CutDragActive false, SelectionMode draw,
    // HandleDragState Stop. Start-up and every new picture.
    void ResetCut();

    // The left button went down on the display with the cut tool and has not come up.
    bool CutDragActive() const { return CutDragActive_; }
    // The cut tool's left press.
    void BeginCutDrag() { CutDragActive_ = true; }
    // The cut tool's left release.
    void EndCutDrag() { CutDragActive_ = false; }

    // Whether a selection rectangle exists (move) or the next drag draws one (draw).
    SelectionMode SelectionModeNow() const { return SelectionMode_; }
    // A press outside the selection: the next drag draws a new rectangle.
    void StartNewSelection() { SelectionMode_ = SelectionMode::draw; }
    // A release with the cut tool: a rectangle just drawn now exists (move) and is free to
    // be dragged (Stop). A release after a move changes neither.
    void FinishDrawing();

    // Whether the selection is held where it is (Start) or free (Stop).
    HandleDragState HandleDragStateNow() const { return HandleDragState_; }
    // A left press on a handle while a selection exists.
    void BeginHandleDrag() { HandleDragState_ = HandleDragState::Start; }
    // A release on any handle.
    void EndHandleDrag() { HandleDragState_ = HandleDragState::Stop; }
    // After a crop the used-up selection stays put until a new one is drawn or a handle
    // is released.
    void HoldSelectionAfterCrop() { HandleDragState_ = HandleDragState::Start; }

    // How many colours colour select has picked since its tool button was chosen.
    std::int32_t PickedColorCount() const { return PickedColorCount_; }
    // The colours picked (colour select) or the one clicked colour (fill).
    const std::vector<std::int32_t>& PickedColors() const { return PickedColors_; }
    // A colour-select pick: the list keeps its first PickedColorCount entries, colour goes
    // after them, and the count grows by one. Picking a colour twice lists it twice.
    void AddPickedColour(std::int32_t colour);
    // The fill tool's click: the list holds the clicked colour alone; the count stays.
    void PickOnly(std::int32_t colour);
    // The colour-select and fill buttons: the count goes back to 0, so the next pick starts
    // the list afresh; the old entries stay until then.
    void RestartPickCount() { PickedColorCount_ = 0; }
    // Toggling the grid while colour select is active: no picks at all.
    void ClearPicks();
    // RecolorPixels from source into target with the picked colours, which it uses up (the
    // count stays); false, after its message, when there were none.
    bool RecolourPicked(const Surface& source, Surface& target, std::int32_t colour, std::int16_t matchFlag,
                        Dialogs& dialogs);

private:
    ToolMode ToolMode_ = ToolMode::剪图;
    bool CutDragActive_ = false;
    SelectionMode SelectionMode_ = SelectionMode::draw;
    HandleDragState HandleDragState_ = HandleDragState::Stop;
    std::int32_t PickedColorCount_ = 0;
    std::vector<std::int32_t> PickedColors_;
};

}  // namespace pelmora
