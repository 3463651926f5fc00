// Time as the program needs it: a millisecond counter that wraps at 32 bits.
#pragma once

#include <cstdint>

namespace pelmora {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t Milliseconds() = 0;
};

}  // namespace pelmora
