// SPDX-License-Identifier: MIT
#include "backends/win32/win32_clock_pump.h"

#include <windows.h>

// clang-format off
#include <mmsystem.h>
// clang-format on

namespace pelmora {

std::uint32_t Win32Clock::Milliseconds() { return timeGetTime(); }

LocalTime Win32Clock::Now() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

void Win32Clock::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

void Win32MessagePump::ProcessPendingEvents() {
    if (beforeProcessing) beforeProcessing();
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The quit belongs to the main loop, which ends on it after the wait.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void Win32MessagePump::Sleep(int milliseconds) { ::Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0); }

}  // namespace pelmora
