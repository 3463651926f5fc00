// SPDX-License-Identifier: MIT
#include "sampling/colour_model.h"

#include <algorithm>
#include <cstdio>

#include "base/rounding.h"

namespace pelmora {

float MaxSingle(float a, float b) { return a > b ? a : b; }
float MinSingle(float a, float b) { return a > b ? b : a; }

namespace {
// Every named intermediate is kept as a 32-bit float; the arithmetic between them runs
// in double and is narrowed when stored.
float Store(double value) { return static_cast<float>(value); }

std::int16_t Scale240(float fraction) {
    return static_cast<std::int16_t>(RoundHalfEven(static_cast<double>(fraction) * 240.0));
}
}  // namespace

HslColor RgbToHsl(std::int16_t red, std::int16_t green, std::int16_t blue) {
    const float r = Store(red / 255.0);
    const float g = Store(green / 255.0);
    const float b = Store(blue / 255.0);
    const float max = MaxSingle(MaxSingle(r, g), b);
    const float min = MinSingle(MinSingle(r, g), b);
    const float delta = Store(static_cast<double>(max) - min);
    const float l = Store((static_cast<double>(max) + min) / 2.0);

    if (delta == 0.0f) return {160, 0, Scale240(l)};

    const float s = l < 0.5f ? Store(delta / (static_cast<double>(max) + min)) : Store(delta / (2.0 - max - min));
    const double halfDelta = delta / 2.0;
    const float dR = Store(((max - static_cast<double>(r)) / 6.0 + halfDelta) / delta);
    const float dG = Store((halfDelta + (max - static_cast<double>(g)) / 6.0) / delta);
    const float dB = Store((halfDelta + (max - static_cast<double>(b)) / 6.0) / delta);

    float h;
    if (r == max) h = Store(static_cast<double>(dB) - dG);
    else if (g == max) h = Store(1.0 / 3.0 + dR - dB);
    else h = Store(2.0 / 3.0 + dG - dR);
    if (h < 0.0f) h = Store(h + 1.0);
    if (h > 1.0f) h = Store(h - 1.0);

    return {Scale240(h), Scale240(s), Scale240(l)};
}

std::string ColorDecimal(Colour colour) { return std::to_string(colour); }

std::string ColorHex6(Colour colour) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%08X", static_cast<unsigned>(colour));
    return std::string(buffer + 2);
}

std::string RedHex(std::string_view hex6) {
    return std::string(hex6.size() >= 2 ? hex6.substr(hex6.size() - 2) : hex6);
}
std::string GreenHex(std::string_view hex6) {
    return std::string(hex6.substr(std::min<std::size_t>(2, hex6.size()), 2));
}
std::string BlueHex(std::string_view hex6) { return std::string(hex6.substr(0, 2)); }

}  // namespace pelmora
