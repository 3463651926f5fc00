// SPDX-License-Identifier: MIT
// Exact sums of the area's channels and squares over every box of one size: the window
// statistics of a correlation search, made one area row at a time.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/surface.h"
#include "search/wide_vectors.h"

namespace pelmora {

// What BoxSums adds up at each pixel: a channel (red, green, blue), or the sum of the three
// channels' squares.
enum class BoxQuantity { Red, Green, Blue, Squares };

class BoxSums {
public:
    // Boxes of width x height (both at least 1 and at most the area's): the sums of the
    // squares, and with channels those of each channel too.
    BoxSums(const Surface& area, int width, int height, bool channels);

    // Entry x is the sum over the box whose top-left pixel is (x, top), for x from 0 to the
    // area's width minus the box's: a whole number, held exactly. Rows are made on demand,
    // the first from scratch and each next from the one above; top must not lie above the
    // lowest row asked for so far.
    const double* Row(int top, BoxQuantity quantity);

private:
    PELMORA_WIDE_VECTORS void Make(int top);

    const Surface& area_;
    int width_;
    int height_;
    bool channels_;
    int places_;                   // boxes in a row
    int made_ = -1;                // the row made
    std::vector<double> columns_;  // per quantity, the column sums over rows [made_, made_ + height_)
    std::vector<double> runs_;     // room for sums of runs of them
    std::vector<double> rows_;     // the row made, per quantity
};

}  // namespace pelmora
