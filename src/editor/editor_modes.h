// SPDX-License-Identifier: MIT
// The editor's modes: which tool the display's mouse serves, whether a cut selection
// exists, and whether the selection is held still. Each enumerator is the value the
// window's code gives the mode, so a mode reads the same here as in the window.
#pragma once

namespace pelmora {

// ToolMode: the tool the display's mouse serves, in the order of the tool buttons 控制(0..3).
enum class ToolMode {
    剪图,  // cut: draw, move and crop a rectangle
    铅笔,  // pencil: paint pixels in the foreground colour
    填充,  // fill: give one colour, all over the image, the foreground colour
    色选,  // colour select: pick the colours the confirm button keeps
};

// SelectionMode: whether the cut selection exists.
enum class SelectionMode {
    draw,  // no rectangle yet: the next left drag draws one
    move,  // a rectangle exists: a left drag inside it moves it
};

// HandleDragState: whether the selection is held where it is.
enum class HandleDragState {
    Start,  // a handle drag runs, or a crop used the selection up: a drag does not move the box
    Stop,   // otherwise
};

// The tool's own name, which its button shows as tool tip: "剪图", "铅笔", "填充", "色选".
constexpr const char* ToolModeName(ToolMode mode) {
    switch (mode) {
        case ToolMode::剪图: return "剪图";
        case ToolMode::铅笔: return "铅笔";
        case ToolMode::填充: return "填充";
        case ToolMode::色选: return "色选";
    }
    return "";
}

}  // namespace pelmora
