// SPDX-License-Identifier: MIT
#include "app/hotkey_dispatch.h"

#include "sampling/screen_reading.h"

namespace pelmora {

void HotkeyDispatch::HotKeyWndProc(int id) {
    if (id == kHotkeyStartStop) {
        if (sampling_.SamplingState == kSamplingStopped) sampling_.Check1.SetValue(1);
        else if (sampling_.SamplingState == kSamplingRunning) sampling_.Check1.SetValue(0);
    } else if (id >= kHotkeyFirstSlot && id < kHotkeyFirstSlot + kSlotCount) {
        pointSlots_.GrabIntoSlot(id - kHotkeyFirstSlot);
    } else if (id == kHotkeyPrintScreen) {
        snapshotPage_.PrintScreen();
    } else if (id >= kHotkeyFirstCursor && id < kHotkeyFirstCursor + kCursorSwatches) {
        cursorPage_.CaptureIntoSwatch(id - kHotkeyFirstCursor);
    } else if (id == kHotkeyUp) {
        MovePointer(0, -1);
    } else if (id == kHotkeyLeft) {
        MovePointer(-1, 0);
    } else if (id == kHotkeyDown) {
        MovePointer(0, 1);
    } else if (id == kHotkeyRight) {
        MovePointer(1, 0);
    }
}

void HotkeyDispatch::MovePointer(int dx, int dy) {
    const ScreenPoint pointer = GetPointerPos(desktop_);
    desktop_.SetPointerPos({pointer.x + dx, pointer.y + dy});  // the desktop keeps it on the screen
}

}  // namespace pelmora
