// SPDX-License-Identifier: MIT
#include "editor/history_buttons.h"

#include <optional>

#include "editor/button_column.h"
#include "editor/editor_pictures.h"

namespace pelmora {

void HistoryButtons::Place(ControlHost& host, Frame& page) {
    PlaceButtonColumn(host, page, "记录按钮", 记录按钮, 384, 120, HistoryButtonPicture, {"上一步", "下一步"},
                      [this](int i) { 记录按钮_Click(i); });
}

void HistoryButtons::记录按钮_Click(int index) {
    if (index != 0 && index != 1) return;
    HistoryRing& ring = canvas_.historyRing;
    const std::optional<int> slot = ring.FilledNeighbour(index == 0 ? -1 : 1);
    if (!slot) return;
    // Shown at 1:1; the next snapshot goes just after this one.
    const Surface& snapshot = ring.Restore(*slot);
    canvas_.ShowActualSize(snapshot, snapshot.Width(), snapshot.Height());
    canvas_.结果图像 = snapshot;
    canvas_.成品图像 = snapshot;
    canvas_.UpdateScrollRanges();
}

}  // namespace pelmora
