// SPDX-License-Identifier: MIT
// A picture prepared for the correlation search: its opaque pixels, their exact sums, and
// the pieces the search's bounds are made of (grids of blocks, the largest deviations left
// after the finest grid's block means, and rectangles of opaque pixels).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/surface.h"
#include "sampling/colour_model.h"
#include "search/wide_integer.h"

namespace pelmora {

// A piece of one picture row whose pixels are all opaque: columns [left, right).
struct OpaqueRun {
    int row = 0;
    int left = 0;
    int right = 0;
};

// A rectangle of the picture: columns [left, left + width), rows [top, top + height).
struct PictureBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::int64_t Pixels() const { return static_cast<std::int64_t>(width) * height; }
};

// The picture's deviations u from its channel means (zero on transparent pixels), split
// over a grid of equal blocks: each block's mean of u per channel, the margins the grid
// leaves as one more block, and what is left of u after those means.
struct BlockLevel {
    int columns = 0;
    int rows = 0;
    int blockWidth = 0;
    int blockHeight = 0;
    std::vector<std::array<double, 3>> means;  // per block, row by row
    std::array<double, 3> meanSums{};          // of means over the blocks, per channel
    double meanNorm = 0;                       // of means over blocks and channels
    std::array<double, 3> restMeans{};         // over the margins
    double residualNorm = 0;                   // of u minus the means of its block
    int Blocks() const { return columns * rows; }
};

// One pixel's channel taken into the correlation as one term: the area's channel at
// (place + (x, y)) times what is left there of the picture's deviation after its block's
// mean on the finest grid.
struct ResidualTap {
    int x = 0;
    int y = 0;
    int channel = 0;
    int block = 0;  // on the finest grid; -1 in the margins
    float residual = 0;
};

// The taps by falling size, in stages; each stage's taps come in order of block and
// channel, with the sum of their residuals per block and channel, so that a search can take
// the area's block means away from them block by block.
struct TapStage {
    std::size_t end = 0;                          // the taps [0, end) make the stages so far
    std::vector<std::array<float, 3>> blockSums;  // this stage's residuals per block and channel
    std::array<float, 3> restSums{};              // and in the margins
    double restNorm = 0;                          // of the residuals of the taps in no stage so far
    double roundingSlack = 0;                     // the most float sums of the stages so far can be off
};

class CorrelationPicture {
public:
    CorrelationPicture(const Surface& picture, std::optional<Colour> transparent);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool AllOpaque() const { return allOpaque_; }
    std::int64_t OpaqueCount() const { return count_; }
    // The picture's opaque pixels, row by row, and those pixels' colours in the same order.
    const std::vector<OpaqueRun>& Runs() const { return runs_; }
    const std::vector<std::int32_t>& RunPixels() const { return runPixels_; }
    // Sums over the opaque pixels: of each channel, and of every channel's square.
    const std::array<std::int64_t, 3>& Sums() const { return sums_; }
    std::int64_t Squares() const { return squares_; }
    // count * (sum over pixels and channels of the squared deviations from the channel
    // means): zero for a picture of one colour (or of no opaque pixel).
    const WideInteger& ScaledVariance() const { return scaledVariance_; }
    bool OneColour() const { return scaledVariance_ == WideInteger(); }
    // The first opaque pixel's colour (for a picture of one colour: that colour).
    Colour FirstColour() const { return runPixels_.empty() ? 0 : runPixels_.front() & 0xFFFFFF; }
    // The norm of the deviations from the channel means, over the opaque pixels.
    double DeviationNorm() const { return deviationNorm_; }

    // The grids' common rectangle from the picture's top-left corner; its margins are the
    // rest of the picture.
    int GridWidth() const { return gridWidth_; }
    int GridHeight() const { return gridHeight_; }
    std::int64_t MarginPixels() const {
        return static_cast<std::int64_t>(width_) * height_ - static_cast<std::int64_t>(gridWidth_) * gridHeight_;
    }
    // The picture's deviations summed over the grid, per channel, over the grid's pixels:
    // the same on every grid; exactly 0 when the grid holds every opaque pixel.
    const std::array<double, 3>& GridMeans() const { return gridMeans_; }
    // From the coarsest grid to the finest; each block of one is 2 x 2 blocks (or 2 x 1,
    // 1 x 2) of the next.
    const std::vector<BlockLevel>& Levels() const { return levels_; }
    const std::vector<ResidualTap>& Taps() const { return taps_; }
    const std::vector<TapStage>& TapStages() const { return tapStages_; }
    // Disjoint rectangles of opaque pixels, largest first: the whole picture when it has
    // no transparent pixel.
    const std::vector<PictureBox>& OpaqueBoxes() const { return opaqueBoxes_; }

private:
    // A pixel's deviation from its channel's mean; zero where transparent.
    double Deviation(const Surface& picture, const std::vector<bool>& opaque, int x, int y, int channel) const;
    BlockLevel MakeLevel(const Surface& picture, const std::vector<bool>& opaque, int columns, int rows) const;
    void MakeTaps(const Surface& picture, const std::vector<bool>& opaque);
    void FindOpaqueBoxes(const std::vector<bool>& opaque);

    int width_ = 0;
    int height_ = 0;
    bool allOpaque_ = true;
    std::int64_t count_ = 0;
    std::vector<OpaqueRun> runs_;
    std::vector<std::int32_t> runPixels_;
    std::array<std::int64_t, 3> sums_{};
    std::int64_t squares_ = 0;
    WideInteger scaledVariance_;
    double deviationNorm_ = 0;
    int gridWidth_ = 0;
    int gridHeight_ = 0;
    std::array<double, 3> gridMeans_{};
    std::vector<BlockLevel> levels_;
    std::vector<ResidualTap> taps_;
    std::vector<TapStage> tapStages_;
    std::vector<PictureBox> opaqueBoxes_;
};

}  // namespace pelmora
