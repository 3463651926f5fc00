// SPDX-License-Identifier: MIT
// HotKeyWndProc: what each hotkey id does once the hook has put it in front of the
// main window's own procedure.
#pragma once

#include "capture/snapshot_page.h"
#include "cursor/cursor_page.h"
#include "platform/desktop.h"
#include "records/point_slots.h"
#include "sampling/live_sampling.h"

namespace pelmora {

// Hotkey ids, as registered at start-up.
inline constexpr int kHotkeyStartStop = 0;     // Alt+`: sampling on or off
inline constexpr int kHotkeyFirstSlot = 1;     // 1..10: slots 0..9
inline constexpr int kHotkeyPrintScreen = 11;  // Print Screen, while Check6 is checked
inline constexpr int kHotkeyFirstCursor = 12;  // 12..14: cursor swatches 0..2
// 15..18: the arrow keys, the pointer moved by one pixel.
inline constexpr int kHotkeyUp = 15, kHotkeyLeft = 16, kHotkeyDown = 17, kHotkeyRight = 18;

class HotkeyDispatch {
public:
    // The desktop and the panels the hotkeys act on.
    HotkeyDispatch(Desktop& desktop, LiveSampling& sampling, PointSlots& pointSlots, CursorPage& cursorPage,
                   SnapshotPage& snapshotPage)
        : desktop_(desktop),
          sampling_(sampling),
          pointSlots_(pointSlots),
          cursorPage_(cursorPage),
          snapshotPage_(snapshotPage) {}

    // 0 starts or stops sampling through Check1, 1 to 10 grab into slots 0 to 9, 11 takes
    // a Print Screen snapshot while Check6 is checked, 12 to 14 capture the cursor's code
    // into swatches 0 to 2, 15 to 18 move the pointer by one pixel; any other id does
    // nothing.
    void HotKeyWndProc(int id);

private:
    // The pointer moved by (dx, dy) screen pixels.
    void MovePointer(int dx, int dy);

    Desktop& desktop_;
    LiveSampling& sampling_;
    PointSlots& pointSlots_;
    CursorPage& cursorPage_;
    SnapshotPage& snapshotPage_;
};

}  // namespace pelmora
