// SPDX-License-Identifier: MIT
// Waiting in the Win32 tests: the thread's messages run (windows paint, hotkeys arrive)
// until a condition holds or the time is up, waking on every message that arrives.
#pragma once

#include <windows.h>

namespace pelmora {

template <typename Condition>
bool PumpUntil(Condition condition, DWORD timeoutMs = 5000) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

}  // namespace pelmora
