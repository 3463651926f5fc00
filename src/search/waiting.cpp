// SPDX-License-Identifier: MIT
#include "search/waiting.h"

#include <algorithm>

namespace pelmora {

bool WaitUntil(Clock& clock, WaitTiming timing, const std::function<bool()>& look) {
    const std::uint32_t start = clock.Milliseconds();
    for (;;) {
        if (look()) return true;
        const std::uint32_t waited = clock.Milliseconds() - start;  // wraps as the counter does
        if (waited >= timing.timeoutMs) return false;
        clock.Sleep(std::min(timing.intervalMs, timing.timeoutMs - waited));
    }
}

}  // namespace pelmora
