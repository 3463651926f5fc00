// SPDX-License-Identifier: MIT
#include "editor/editor_state.h"

#include "editor/pixel_buffer.h"

namespace pelmora {

void EditorState::ResetCut() {
    CutDragActive_ = false;
    SelectionMode_ = SelectionMode::draw;
    HandleDragState_ = HandleDragState::Stop;
}

void EditorState::FinishDrawing() {
    if (SelectionMode_ != SelectionMode::draw) return;
    SelectionMode_ = SelectionMode::move;
    HandleDragState_ = HandleDragState::Stop;
}

void EditorState::AddPickedColour(std::int32_t colour) {
    PickedColors_.resize(static_cast<std::size_t>(PickedColorCount_) + 1);
    PickedColors_[static_cast<std::size_t>(PickedColorCount_)] = colour;
    ++PickedColorCount_;
}

void EditorState::PickOnly(std::int32_t colour) { PickedColors_ = {colour}; }

void EditorState::ClearPicks() {
    PickedColors_.clear();
    PickedColorCount_ = 0;
}

bool EditorState::RecolourPicked(const Surface& source, Surface& target, std::int32_t colour, std::int16_t matchFlag,
                                 Dialogs& dialogs) {
    return RecolorPixels(source, target, colour, matchFlag, PickedColors_, dialogs);
}

}  // namespace pelmora
