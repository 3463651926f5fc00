// SPDX-License-Identifier: MIT
#include "base/rounding.h"

#include <cmath>
#include <limits>

namespace pelmora {

double RoundHalfEven(double value) {
    // nearbyint follows the current rounding mode, which is to-nearest-even unless
    // someone changed it; do the tie handling by hand so the result never depends on it.
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5) return floor;
    if (diff > 0.5) return floor + 1.0;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

namespace {
template <typename Int>
std::optional<Int> RoundInto(double value) {
    if (std::isnan(value)) return std::nullopt;
    const double rounded = RoundHalfEven(value);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(rounded);
}

template <typename Int>
Int RoundClamped(double value) {
    return RoundInto<Int>(value).value_or(value > 0 ? std::numeric_limits<Int>::max()
                                                    : std::numeric_limits<Int>::min());
}
}  // namespace

std::optional<std::int16_t> ToInt16(double value) { return RoundInto<std::int16_t>(value); }
std::optional<std::int32_t> ToInt32(double value) { return RoundInto<std::int32_t>(value); }
std::int16_t RoundClamped16(double value) { return RoundClamped<std::int16_t>(value); }
std::int32_t RoundClamped32(double value) { return RoundClamped<std::int32_t>(value); }

}  // namespace pelmora
