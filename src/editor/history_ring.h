// SPDX-License-Identifier: MIT
// The editor's history: six snapshots 历史记录 of the working image in a ring, with the
// slot the next snapshot goes to (HistoryNext), the newest or restored one (HistoryLast)
// and which slots hold a snapshot (HistoryFilled). The slot after the newest is always
// empty, so stepping back stops before the oldest snapshot is overwritten.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "platform/surface.h"

namespace pelmora {

// The ring's size.
inline constexpr int kHistorySlots = 6;

class HistoryRing {
public:
    // Start-up: every slot empty, a 41 x 41 black picture; the next snapshot goes to slot 0.
    void Reset();
    // PushHistory: image goes into slot HistoryNext, which becomes HistoryLast; the slot
    // after it becomes HistoryNext and is marked empty.
    void Push(const Surface& image);
    // The slot one step back (step -1) or forward (step 1) from HistoryLast, round the
    // ring, when it holds a snapshot.
    std::optional<int> FilledNeighbour(int step) const;
    // Makes slot HistoryLast and the slot after it HistoryNext, so the next snapshot goes
    // just after the restored one; the snapshots beyond stay reachable until then. Returns
    // the slot's snapshot.
    const Surface& Restore(int slot);

    // The slot the next snapshot goes to, 0..5.
    std::int16_t HistoryNext() const { return HistoryNext_; }
    // The slot of the newest or last restored snapshot.
    std::int16_t HistoryLast() const { return HistoryLast_; }
    // Which slots hold a snapshot.
    const std::array<bool, kHistorySlots>& HistoryFilled() const { return HistoryFilled_; }
    // The snapshot in slot.
    const Surface& 历史记录(int slot) const { return 历史记录_[Index(slot)]; }

private:
    static std::size_t Index(int slot) { return static_cast<std::size_t>(slot); }

    std::array<Surface, kHistorySlots> 历史记录_;  // the snapshots, parked pictures that never show
    std::int16_t HistoryNext_ = 0;
    std::int16_t HistoryLast_ = 0;
    std::array<bool, kHistorySlots> HistoryFilled_{};
};

}  // namespace pelmora
