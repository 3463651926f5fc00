// SPDX-License-Identifier: MIT
// The history buttons 记录按钮: back and forward through the snapshots the history ring
// keeps, restoring the chosen one as the working image at 1:1.
#pragma once

#include <array>

#include "editor/editor_canvas.h"
#include "platform/controls.h"

namespace pelmora {

class HistoryButtons {
public:
    // The buttons step through canvas's history ring and restore into its pictures.
    explicit HistoryButtons(EditorCanvas& canvas) : canvas_(canvas) {}

    // Under the file buttons in the column right of the viewport.
    void Place(ControlHost& host, Frame& page);

    // Index 0 steps back, 1 forward, to the next filled slot only.
    void 记录按钮_Click(int index);

    std::array<CommandButton, 2> 记录按钮;  // back, forward

private:
    EditorCanvas& canvas_;
};

}  // namespace pelmora
