// SPDX-License-Identifier: MIT
// Time as the program needs it: a millisecond counter that wraps at 32 bits, the local
// date and time, and a plain pause.
#pragma once

#include <cstdint>

namespace pelmora {

struct LocalTime {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;
    int hour = 0;  // 0 to 23
    int minute = 0;
    int second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // A millisecond counter: only differences count, and it wraps at 32 bits.
    virtual std::uint32_t Milliseconds() = 0;
    // The local date and time.
    virtual LocalTime Now() = 0;
    // Pauses the calling thread for about the given time, processing nothing meanwhile.
    virtual void Sleep(std::uint32_t milliseconds) = 0;
};

}  // namespace pelmora
