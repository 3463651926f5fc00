// SPDX-License-Identifier: MIT
// Lets a handler that waits keep the window alive: pending events (clicks, timer ticks,
// hotkeys) run inside the wait.
#pragma once

namespace pelmora {

class MessagePump {
public:
    virtual ~MessagePump() = default;
    // Runs the events waiting now, then returns.
    virtual void ProcessPendingEvents() = 0;
    // Blocks the thread for milliseconds, running nothing.
    virtual void Sleep(int milliseconds) = 0;
};

}  // namespace pelmora
