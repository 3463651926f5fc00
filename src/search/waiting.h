// SPDX-License-Identifier: MIT
// The loop every wait runs, whoever asks (pelmora-cli, a script's module, a page): look at
// once, then after each interval, until the look ends the wait or the timeout has passed.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/clock.h"

namespace pelmora {

struct WaitTiming {
    std::uint32_t timeoutMs = 10000;  // from the first look; 0 looks once
    std::uint32_t intervalMs = 50;    // between the end of one look and the next, at least 1
};

// Calls look at once and then every interval, sleeping on clock between, until it returns
// true (what was waited for is there, or looking failed for good): then true. False when
// the timeout has passed since the first look without that; the last pause is cut short so
// that the last look falls at the timeout, not after it.
bool WaitUntil(Clock& clock, WaitTiming timing, const std::function<bool()>& look);

}  // namespace pelmora
