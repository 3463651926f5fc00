#include "editor/history_buttons.h"

#include "editor/button_column.h"
#include "editor/editor_pictures.h"

namespace pelmora {

namespace {
// The slot after or before slot in the ring.
std::int16_t Step(std::int16_t slot, int by) {
    return static_cast<std::int16_t>((slot + by + kHistorySlots) % kHistorySlots);
}
}  // namespace

void HistoryButtons::Place(ControlHost& host, Frame& page) {
    PlaceButtonColumn(host, page, "记录按钮", 记录按钮, 384, 120, HistoryButtonPicture, {"上一步", "下一步"},
                      [this](int i) { 记录按钮_Click(i); });
}

void HistoryButtons::记录按钮_Click(int index) {
    if (index != 0 && index != 1) return;
    const std::int16_t slot = Step(canvas_.HistoryLast, index == 0 ? -1 : 1);
    if (canvas_.HistoryFilled[static_cast<std::size_t>(slot)] == 0) return;
    canvas_.HistoryLast = slot;
    const Surface& snapshot = canvas_.历史记录[static_cast<std::size_t>(slot)];
    canvas_.ShowActualSize(snapshot, snapshot.Width(), snapshot.Height());
    canvas_.结果图像 = snapshot;
    canvas_.成品图像 = snapshot;
    canvas_.UpdateScrollRanges();
    canvas_.ZoomedEightTimes = 0;
    canvas_.HistoryNext = Step(slot, 1);
}

}  // namespace pelmora
