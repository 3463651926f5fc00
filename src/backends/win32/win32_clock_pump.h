// SPDX-License-Identifier: MIT
// timeGetTime and the local time; the message pump that keeps the window alive inside a
// wait.
#pragma once

#include <functional>

#include "platform/clock.h"
#include "platform/message_pump.h"

namespace pelmora {

class Win32Clock : public Clock {
public:
    std::uint32_t Milliseconds() override;  // timeGetTime
    LocalTime Now() override;               // GetLocalTime
    void Sleep(std::uint32_t milliseconds) override;
};

// Dispatches the messages waiting in the thread's queue (PeekMessage). A WM_QUIT taken out
// is posted again, so the program's main loop still ends. beforeProcessing brings the view
// up to date first, so what a waiting handler changed so far (a hidden window) shows.
class Win32MessagePump : public MessagePump {
public:
    void ProcessPendingEvents() override;
    void Sleep(int milliseconds) override;
    std::function<void()> beforeProcessing;
};

}  // namespace pelmora
