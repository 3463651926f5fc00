// SPDX-License-Identifier: MIT
#include "search/box_sums.h"

#include <cstdint>

#include "search/row_box_sums.h"

namespace pelmora {

namespace {
constexpr std::size_t kSquares = 3;  // the quantity index of the squares; channels come first
}

BoxSums::BoxSums(const Surface& area, int width, int height, bool channels)
    : area_(area),
      width_(width),
      height_(height),
      channels_(channels),
      places_(area.Width() - width + 1),
      columns_(4 * static_cast<std::size_t>(area.Width()), 0),
      runs_(2 * static_cast<std::size_t>(area.Width())),
      rows_(4 * static_cast<std::size_t>(places_), 0) {}

const double* BoxSums::Row(int top, BoxQuantity quantity) {
    while (made_ < top) Make(made_ < 0 ? top : made_ + 1);
    return rows_.data() + static_cast<std::size_t>(quantity) * places_;
}

void BoxSums::Make(int top) {
    const auto width = static_cast<std::size_t>(area_.Width());
    // Adds (with sign -1 takes away) one area row to the column sums, whole numbers that
    // double holds exactly.
    const auto add = [&](int y, double sign) {
        const std::int32_t* pixels = area_.Row(y);
        double* squares = columns_.data() + kSquares * width;
        for (std::size_t x = 0; x < width; ++x) {
            const int r = pixels[x] & 0xFF, g = pixels[x] >> 8 & 0xFF, b = pixels[x] >> 16 & 0xFF;
            squares[x] += sign * (r * r + g * g + b * b);
        }
        if (!channels_) return;
        for (std::size_t channel = 0; channel < 3; ++channel) {
            double* column = columns_.data() + channel * width;
            for (std::size_t x = 0; x < width; ++x) column[x] += sign * (pixels[x] >> (8 * channel) & 0xFF);
        }
    };
    if (made_ < 0) {
        for (int y = top; y < top + height_; ++y) add(y, 1);
    } else {
        add(top - 1, -1);
        add(top + height_ - 1, 1);
    }
    made_ = top;
    for (std::size_t quantity = channels_ ? 0 : kSquares; quantity < 4; ++quantity)
        RowBoxSums(columns_.data() + quantity * width, width, static_cast<std::size_t>(width_), 1.0,
                   rows_.data() + quantity * static_cast<std::size_t>(places_), runs_.data(), runs_.data() + width);
}

}  // namespace pelmora
