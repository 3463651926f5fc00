// SPDX-License-Identifier: MIT
#include "platform/delay.h"

namespace pelmora {

void DelayMs(Clock& clock, MessagePump& pump, std::uint32_t ms) {
    const std::uint32_t start = clock.Milliseconds();
    while (static_cast<std::uint32_t>(clock.Milliseconds() - start) < ms) {
        pump.ProcessPendingEvents();
        pump.Sleep(1);
        pump.ProcessPendingEvents();
    }
}

}  // namespace pelmora
