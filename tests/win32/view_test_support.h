// SPDX-License-Identifier: MIT
// What the Win32 view tests do to a window as a user and a screen reader would: run the
// thread's messages, wait for a condition, read a window's text, place and pixels, and move
// and press the mouse through the system's input queue.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

namespace pelmora {

// Dispatches what waits in the thread's queue. A WM_QUIT left by a closed view is dropped.
inline void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Pumps messages until condition holds or timeoutMs passed; the condition's last answer.
inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 3000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return condition();
        Pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

inline std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// A window's rectangle in its parent's client coordinates.
inline RECT PlaceOf(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The screen's pixel as 0x00BBGGRR.
inline int ScreenPixel(POINT at) {
    HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return static_cast<int>(pixel);
}
inline int ScreenPixel(int x, int y) { return ScreenPixel(POINT{x, y}); }

inline void SendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

// Moves the pointer as a mouse does, so that the window under it hears of the move.
inline void MovePointer(POINT at) {
    SetCursorPos(at.x, at.y);
    SendMouse(MOUSEEVENTF_MOVE);  // a move by nothing, at the new position
}

}  // namespace pelmora
