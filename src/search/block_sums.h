// SPDX-License-Identifier: MIT
// The area's sums over the blocks of a picture's grids, for every place: made one area row
// at a time, the finest grid's from column sums and each coarser grid's from the finer one
// (each of its blocks is 2 x 2, 2 x 1 or 1 x 2 finer blocks), so that a few arithmetic
// operations a pixel give them all.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "platform/surface.h"
#include "search/correlation_picture.h"
#include "search/wide_vectors.h"

namespace pelmora {

// Real is float or double: it must hold every block sum times its grid's number of blocks
// exactly.
template <typename Real>
class BlockSums {
public:
    BlockSums(const Surface& area, const CorrelationPicture& picture);

    // Makes every row that the places of row y need; after the first, y grows by one at a
    // time.
    void Advance(int y);
    // Entry x is the sum of channel over the block of grid `level` (an index into the
    // picture's Levels()) whose top-left pixel is (x, top), times the grid's number of
    // blocks; top lies in [y, y + the grid's height - its blocks' height], y the row last
    // advanced to.
    const Real* Row(std::size_t level, int top, int channel) const {
        const std::size_t slot = rings_[level].first + static_cast<std::size_t>(top) % rings_[level].second;
        return rows_.data() + rowsFrom_ + (slot * 3 + static_cast<std::size_t>(channel)) * width_;
    }
    // The area's channel at row y (in [last advanced to, that + picture height)) as Real.
    const Real* Plane(int y, int channel) const {
        return rows_.data() + (static_cast<std::size_t>(y % (height_ + 1)) * 3 + channel) * width_;
    }

private:
    PELMORA_WIDE_VECTORS void MakePlane(int y);
    PELMORA_WIDE_VECTORS void MakeFinest(int top);
    PELMORA_WIDE_VECTORS void MakeCoarser(std::size_t level, int top);

    const Surface& area_;
    const CorrelationPicture& picture_;
    std::size_t width_;  // the area's
    int height_;         // the picture's
    // Per grid, where its rows begin among the grids' rows and how many it keeps.
    std::vector<std::pair<std::size_t, std::size_t>> rings_;
    // The last height_ + 1 area rows by channel, then from rowsFrom_ each grid's kept rows
    // of block sums by channel: one buffer, large enough for huge pages.
    std::vector<Real, UninitialisedAllocator<Real>> rows_;
    std::size_t rowsFrom_ = 0;
    std::vector<Real> columns_;  // the finest blocks' column sums, by channel
    std::vector<Real> runs_;     // room for sums of runs of them
    std::vector<int> made_;      // per grid, the last row made
    int planesMade_ = -1;
};

}  // namespace pelmora
