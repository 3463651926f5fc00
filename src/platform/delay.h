// SPDX-License-Identifier: MIT
// DelayMs: a wait that keeps the window responsive; clicks, timer ticks and hotkeys that
// arrive meanwhile run inside it.
#pragma once

#include <cstdint>

#include "platform/clock.h"
#include "platform/message_pump.h"

namespace pelmora {

// Waits about ms milliseconds, processing pending events around each 1 ms sleep. The
// elapsed time is a wrapping 32-bit difference, so a counter wrap mid-wait is harmless;
// DelayMs(0) returns at once.
void DelayMs(Clock& clock, MessagePump& pump, std::uint32_t ms);

}  // namespace pelmora
