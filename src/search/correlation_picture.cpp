// SPDX-License-Identifier: MIT
#include "search/correlation_picture.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace pelmora {

namespace {
int ChannelOf(std::int32_t pixel, int channel) { return pixel >> (8 * channel) & 0xFF; }

// The finest grid has blocks of at least kSmallestBlockSide pixels a side and at most
// kMostBlocksASide blocks a side, a power of two; the coarser grids halve it twice, down to
// 2 x 2 (a single block tells nothing: the picture's deviations sum to zero over it).
constexpr int kSmallestBlockSide = 8;
constexpr int kMostBlocksASide = 8;
constexpr int kCoarserLevels = 2;

// The tap stages: the first holds this share of the taps (at least kFirstStageTaps), each
// next one as many again as all before it, up to kTapShare of them; places that the stages
// cannot rule out are scored exactly. A picture of more pixels than kMostTappedPixels has
// no taps: it fits at few places, each scored exactly.
constexpr double kFirstStageShare = 1.0 / 64;
constexpr std::size_t kFirstStageTaps = 8;
constexpr double kTapShare = 1.0 / 4;
constexpr std::int64_t kMostTappedPixels = 1 << 20;

// Rectangles of opaque pixels smaller than this share of them are not worth their sums.
constexpr int kMostOpaqueBoxes = 8;
constexpr std::int64_t kSmallestBoxShare = 64;

constexpr double kFloatRounding = 1.0 / (1 << 24);

std::size_t At(int x, int y, int width) { return static_cast<std::size_t>(y) * width + x; }

// The largest power of two at most limit (and 1 below 2).
int PowerOfTwoUpTo(int limit) {
    int power = 1;
    while (power * 2 <= limit) power *= 2;
    return power;
}

// The largest rectangle whose pixels are all set, by the histogram of set pixels above
// each pixel; none (zero size) when no pixel is set.
PictureBox LargestBox(const std::vector<bool>& set, int width, int height) {
    PictureBox best;
    std::vector<int> above(static_cast<std::size_t>(width), 0);
    std::vector<int> stack;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            above[static_cast<std::size_t>(x)] = set[At(x, y, width)] ? above[static_cast<std::size_t>(x)] + 1 : 0;
        // Each column's tallest box reaches left and right to the nearest lower column.
        stack.clear();
        for (int x = 0; x <= width; ++x) {
            const int tall = x < width ? above[static_cast<std::size_t>(x)] : 0;
            while (!stack.empty() && above[static_cast<std::size_t>(stack.back())] >= tall) {
                const int high = above[static_cast<std::size_t>(stack.back())];
                stack.pop_back();
                const int left = stack.empty() ? 0 : stack.back() + 1;
                const PictureBox box{left, y - high + 1, x - left, high};
                if (box.Pixels() > best.Pixels()) best = box;
            }
            stack.push_back(x);
        }
    }
    return best;
}
}  // namespace

CorrelationPicture::CorrelationPicture(const Surface& picture, std::optional<Colour> transparent)
    : width_(picture.Width()), height_(picture.Height()) {
    std::vector<bool> opaque(static_cast<std::size_t>(width_) * height_, false);
    for (int y = 0; y < height_; ++y) {
        const std::int32_t* row = picture.Row(y);
        const auto clear = [&](int x) { return transparent && ((row[x] ^ *transparent) & 0xFFFFFF) == 0; };
        for (int x = 0; x < width_;) {
            if (clear(x)) {
                ++x;
                continue;
            }
            const int left = x;
            for (; x < width_ && !clear(x); ++x) {
                opaque[At(x, y, width_)] = true;
                runPixels_.push_back(row[x]);
                for (int channel = 0; channel < 3; ++channel) {
                    const int value = ChannelOf(row[x], channel);
                    sums_[static_cast<std::size_t>(channel)] += value;
                    squares_ += static_cast<std::int64_t>(value) * value;
                }
            }
            runs_.push_back({y, left, x});
        }
    }
    count_ = static_cast<std::int64_t>(runPixels_.size());
    allOpaque_ = count_ == static_cast<std::int64_t>(width_) * height_;
    scaledVariance_ = WideInteger::Product(count_, squares_);
    for (const std::int64_t sum : sums_) scaledVariance_ = scaledVariance_ - WideInteger::Product(sum, sum);
    if (OneColour()) return;  // no correlation to bound
    deviationNorm_ = std::sqrt(scaledVariance_.ToDouble() / static_cast<double>(count_));
    const int columns = PowerOfTwoUpTo(std::min(kMostBlocksASide, width_ / kSmallestBlockSide));
    const int rows = PowerOfTwoUpTo(std::min(kMostBlocksASide, height_ / kSmallestBlockSide));
    gridWidth_ = width_ / columns * columns;
    gridHeight_ = height_ / rows * rows;
    // From whole numbers: the grid's opaque pixels' channel sums less their share of the
    // picture's, count * that over count.
    std::int64_t inGrid = 0;
    std::array<std::int64_t, 3> gridSums{0, 0, 0};
    std::size_t next = 0;
    for (const OpaqueRun& run : runs_)
        for (int x = run.left; x < run.right; ++x, ++next)
            if (x < gridWidth_ && run.row < gridHeight_) {
                ++inGrid;
                for (int channel = 0; channel < 3; ++channel)
                    gridSums[static_cast<std::size_t>(channel)] += ChannelOf(runPixels_[next], channel);
            }
    const double scale = static_cast<double>(count_) * gridWidth_ * gridHeight_;
    for (std::size_t channel = 0; channel < 3; ++channel)
        gridMeans_[channel] =
            (WideInteger::Product(count_, gridSums[channel]) - WideInteger::Product(inGrid, sums_[channel]))
                .ToDouble() /
            scale;
    for (int coarser = kCoarserLevels; coarser >= 0; --coarser) {
        const int levelColumns = std::max(columns >> coarser, 1), levelRows = std::max(rows >> coarser, 1);
        if (levelColumns * levelRows == 1 && columns * rows > 1) continue;
        if (!levels_.empty() && levels_.back().columns == levelColumns && levels_.back().rows == levelRows) continue;
        levels_.push_back(MakeLevel(picture, opaque, levelColumns, levelRows));
    }
    if (count_ <= kMostTappedPixels) MakeTaps(picture, opaque);
    FindOpaqueBoxes(opaque);
}
double CorrelationPicture::Deviation(const Surface& picture, const std::vector<bool>& opaque, int x, int y,
                                     int channel) const {
    if (!opaque[At(x, y, width_)]) return 0;
    return ChannelOf(picture.Row(y)[x], channel) -
           static_cast<double>(sums_[static_cast<std::size_t>(channel)]) / static_cast<double>(count_);
}

BlockLevel CorrelationPicture::MakeLevel(const Surface& picture, const std::vector<bool>& opaque, int columns,
                                         int rows) const {
    BlockLevel level;
    level.columns = columns;
    level.rows = rows;
    level.blockWidth = gridWidth_ / columns;
    level.blockHeight = gridHeight_ / rows;
    level.means.assign(static_cast<std::size_t>(columns) * rows, {0, 0, 0});
    std::array<double, 3> rest{0, 0, 0};
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const bool inGrid = x < gridWidth_ && y < gridHeight_;
            auto& sums =
                inGrid
                    ? level.means[static_cast<std::size_t>(y / level.blockHeight) * static_cast<std::size_t>(columns) +
                                  static_cast<std::size_t>(x / level.blockWidth)]
                    : rest;
            for (int channel = 0; channel < 3; ++channel)
                sums[static_cast<std::size_t>(channel)] += Deviation(picture, opaque, x, y, channel);
        }
    const double blockPixels = static_cast<double>(level.blockWidth) * level.blockHeight;
    double meanSquares = 0;
    for (auto& means : level.means)
        for (int channel = 0; channel < 3; ++channel) {
            double& mean = means[static_cast<std::size_t>(channel)];
            mean /= blockPixels;
            level.meanSums[static_cast<std::size_t>(channel)] += mean;
            meanSquares += mean * mean;
        }
    level.meanNorm = std::sqrt(meanSquares);
    for (int channel = 0; channel < 3 && MarginPixels() > 0; ++channel)
        level.restMeans[static_cast<std::size_t>(channel)] =
            rest[static_cast<std::size_t>(channel)] / static_cast<double>(MarginPixels());
    double residual = 0;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const bool inGrid = x < gridWidth_ && y < gridHeight_;
            const auto& means =
                inGrid
                    ? level.means[static_cast<std::size_t>(y / level.blockHeight) * static_cast<std::size_t>(columns) +
                                  static_cast<std::size_t>(x / level.blockWidth)]
                    : level.restMeans;
            for (int channel = 0; channel < 3; ++channel) {
                const double off = Deviation(picture, opaque, x, y, channel) - means[static_cast<std::size_t>(channel)];
                residual += off * off;
            }
        }
    level.residualNorm = std::sqrt(residual);
    return level;
}

void CorrelationPicture::MakeTaps(const Surface& picture, const std::vector<bool>& opaque) {
    const BlockLevel& finest = levels_.back();
    struct Term {
        ResidualTap tap;
        double exact;  // the residual before its rounding to float
    };
    std::vector<Term> terms;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const bool inGrid = x < gridWidth_ && y < gridHeight_;
            const int block = inGrid ? y / finest.blockHeight * finest.columns + x / finest.blockWidth : -1;
            const auto& means = inGrid ? finest.means[static_cast<std::size_t>(block)] : finest.restMeans;
            for (int channel = 0; channel < 3; ++channel)
                if (const double residual =
                        Deviation(picture, opaque, x, y, channel) - means[static_cast<std::size_t>(channel)];
                    residual != 0)
                    terms.push_back({{x, y, channel, block, static_cast<float>(residual)}, residual});
        }
    // The largest residuals first, ties in reading order; only the first share is ever
    // taken, the rest counts through its norm.
    const auto last = static_cast<std::size_t>(std::ceil(kTapShare * static_cast<double>(terms.size())));
    const auto larger = [](const Term& a, const Term& b) {
        if (std::abs(a.exact) != std::abs(b.exact)) return std::abs(a.exact) > std::abs(b.exact);
        return std::make_pair(a.tap.y, a.tap.x * 3 + a.tap.channel) <
               std::make_pair(b.tap.y, b.tap.x * 3 + b.tap.channel);
    };
    std::nth_element(terms.begin(), terms.begin() + static_cast<std::ptrdiff_t>(last), terms.end(), larger);
    std::sort(terms.begin(), terms.begin() + static_cast<std::ptrdiff_t>(last), larger);
    double magnitudes = 0;  // of the residuals taken and of their block sums
    std::size_t operations = 0;
    std::size_t end = std::min(
        last,
        std::max(kFirstStageTaps, static_cast<std::size_t>(kFirstStageShare * static_cast<double>(terms.size()))));
    for (std::size_t done = 0; done < last; end = std::min(last, end * 2)) {
        TapStage stage;
        stage.end = end;
        stage.blockSums.assign(static_cast<std::size_t>(finest.Blocks()), {0, 0, 0});
        // Within the stage, by block and channel.
        std::sort(terms.begin() + static_cast<std::ptrdiff_t>(done), terms.begin() + static_cast<std::ptrdiff_t>(end),
                  [](const Term& a, const Term& b) {
                      return std::make_pair(a.tap.block, a.tap.channel) < std::make_pair(b.tap.block, b.tap.channel);
                  });
        std::vector<std::array<double, 3>> blockSums(stage.blockSums.size(), {0, 0, 0});
        std::array<double, 3> restSums{0, 0, 0};
        for (; done < end; ++done) {
            const ResidualTap& tap = terms[done].tap;
            taps_.push_back(tap);
            auto& sums = tap.block < 0 ? restSums : blockSums[static_cast<std::size_t>(tap.block)];
            sums[static_cast<std::size_t>(tap.channel)] += terms[done].exact;
            magnitudes += std::abs(terms[done].exact);
            operations += 2;
        }
        for (std::size_t block = 0; block < blockSums.size(); ++block)
            for (std::size_t channel = 0; channel < 3; ++channel) {
                stage.blockSums[block][channel] = static_cast<float>(blockSums[block][channel]);
                magnitudes += std::abs(blockSums[block][channel]);
                operations += 2;
            }
        for (std::size_t channel = 0; channel < 3; ++channel) {
            stage.restSums[channel] = static_cast<float>(restSums[channel]);
            magnitudes += std::abs(restSums[channel]);
            operations += 2;
        }
        double restSquares = 0;
        for (std::size_t other = end; other < terms.size(); ++other)
            restSquares += terms[other].exact * terms[other].exact;
        stage.restNorm = std::sqrt(restSquares) * (1 + 1e-12);
        // Each float term is off by a few roundings (of the residual, its coefficient and
        // the product), each float sum by one rounding of its terms' magnitudes per term;
        // an area channel or block mean is at most 255.
        stage.roundingSlack = static_cast<double>(operations + 8) * kFloatRounding * 1.05 * 255 * magnitudes;
        tapStages_.push_back(std::move(stage));
    }
}

void CorrelationPicture::FindOpaqueBoxes(const std::vector<bool>& opaque) {
    if (allOpaque_) {
        opaqueBoxes_.push_back({0, 0, width_, height_});
        return;
    }
    std::vector<bool> left = opaque;
    while (static_cast<int>(opaqueBoxes_.size()) < kMostOpaqueBoxes) {
        const PictureBox box = LargestBox(left, width_, height_);
        if (box.Pixels() == 0 || box.Pixels() * kSmallestBoxShare < count_) break;
        opaqueBoxes_.push_back(box);
        for (int y = box.top; y < box.top + box.height; ++y)
            for (int x = box.left; x < box.left + box.width; ++x) left[At(x, y, width_)] = false;
    }
}

}  // namespace pelmora
