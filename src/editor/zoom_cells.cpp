// SPDX-License-Identifier: MIT
#include "editor/zoom_cells.h"

#include "base/rounding.h"

namespace pelmora {

namespace {
std::int64_t Remainder(double value) { return ModKeepSign(RoundClamped32(value), kZoom); }
}  // namespace

double CellStart(double value) { return value - static_cast<double>(Remainder(value)); }

Cell CellOrigin(float x, float y) { return {RoundClamped32(CellStart(x)), RoundClamped32(CellStart(y))}; }

float SnapToCell(float value) {
    const auto remainder = static_cast<float>(Remainder(value));
    if (remainder <= 0) return value;
    return remainder < 5 ? value - remainder : value + (kZoom - remainder);
}

}  // namespace pelmora
