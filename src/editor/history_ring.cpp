// SPDX-License-Identifier: MIT
#include "editor/history_ring.h"

namespace pelmora {

namespace {
constexpr int kEmptySlotSize = 41;

// The slot step slots after slot, round the ring.
std::int16_t Beside(int slot, int step) {
    return static_cast<std::int16_t>((slot + step + kHistorySlots) % kHistorySlots);
}
}  // namespace

void HistoryRing::Reset() {
    for (Surface& slot : 历史记录_) slot = Surface(kEmptySlotSize, kEmptySlotSize, 0);
    HistoryLast_ = 0;
    HistoryNext_ = 0;
    HistoryFilled_.fill(false);
}

void HistoryRing::Push(const Surface& image) {
    const std::int16_t slot = HistoryNext_;
    历史记录_[Index(slot)] = image;
    HistoryLast_ = slot;
    HistoryFilled_[Index(slot)] = true;
    HistoryNext_ = Beside(slot, 1);
    HistoryFilled_[Index(HistoryNext_)] = false;
}

std::optional<int> HistoryRing::FilledNeighbour(int step) const {
    const std::int16_t slot = Beside(HistoryLast_, step);
    if (!HistoryFilled_[Index(slot)]) return std::nullopt;
    return slot;
}

const Surface& HistoryRing::Restore(int slot) {
    HistoryLast_ = static_cast<std::int16_t>(slot);
    HistoryNext_ = Beside(slot, 1);
    return 历史记录_[Index(slot)];
}

}  // namespace pelmora
