// Lets a handler that waits keep the window alive: pending events (clicks, timer ticks,
// hotkeys) run inside the wait.
#pragma once

namespace pelmora {

class MessagePump {
public:
    virtual ~MessagePump() = default;
    virtual void ProcessPendingEvents() = 0;
    virtual void Sleep(int milliseconds) = 0;
};

}  // namespace pelmora
