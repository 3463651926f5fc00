// SPDX-License-Identifier: MIT
// Time on Linux: the monotonic clock for the millisecond counter (never set back), the
// local time zone for the date and time, and nanosleep for pauses.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace pelmora {

class PosixClock final : public Clock {
public:
    std::uint32_t Milliseconds() override;
    LocalTime Now() override;
    void Sleep(std::uint32_t milliseconds) override;
};

}  // namespace pelmora
