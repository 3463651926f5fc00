// SPDX-License-Identifier: MIT
#include "search/correlation_bounds.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "search/block_sums.h"
#include "search/box_sums.h"
#include "search/row_box_sums.h"
#include "search/wide_vectors.h"

namespace pelmora {

// The score of a place is N / (|u| |v|): u the picture's deviations from its channel means
// (zero on transparent pixels), v the deviations of the area's pixels under the opaque ones
// from their means, N the sum of u times the area over the picture's rectangle. Each bound
// is a number at least N, divided by |u| times a number at most |v| (|v| itself when every
// pixel is opaque; else the deviations over rectangles of opaque pixels, each about its own
// mean).
//
// The blocks: with u split into its block means (per channel) and the rest r, N is the sum
// of the block means times the area's block sums S, plus the sum of r times the area. Since
// r sums to zero over each block, that last sum equals r times the area's deviations from
// its block means, which by Cauchy-Schwarz is at most |r| times their norm
//     R = sqrt(Q - sum of S^2 / m)
// (Q the area's sum of squares over the rectangle, m the pixels of a block; the margins
// the grid leaves count as one more block). Finer grids give tighter bounds at a higher
// cost; each is tried only where the coarser ones could not rule a place out.
//
// The taps: the sum of r times the area, over the taps taken so far exactly, plus over the
// other pixels r times the area's deviations from its block means (at most the norm of
// their r times R), plus a term in the block sums that the taps' own block sums cancel.
//
// The block sums are taken from the grid's mean (times the number of blocks), which keeps
// them small and exact in float; every sum is raised by the most its roundings can make it
// off, so a place is left out only when its score lies below the target whatever the
// rounding.

class CorrelationBounds::Rows {
public:
    virtual ~Rows() = default;
    virtual void Bound(int y, double target, std::vector<PlaceBound>& survivors) = 0;
};

namespace {
constexpr double kDoubleRounding = 1.0 / (1LL << 53);
// Up to this many pixels, count * squares - sums^2 is computed exactly in double.
constexpr std::int64_t kExactWindowPixels = 200000;
// Places are bounded in runs of at most this many, whose steps gather in local arrays.
constexpr int kSpan = 64;

// One term of a sum over area rows: weight times the row's entry for each place (less, for a
// grid, the entry of the row `centre`).
template <typename Real>
struct Term {
    const Real* values;
    const Real* centre;
    Real weight;
};

// sums[x] += the weighted values of terms [first, end) at x, for x in [from, to); the terms
// come in fours.
template <typename Real>
PELMORA_WIDE_VECTORS void AddTerms(const std::vector<Term<Real>>& terms, std::size_t first, std::size_t end, Real* sums,
                                   int from, int to) {
    for (std::size_t index = first; index < end; index += 4) {
        const Real *a = terms[index].values, *b = terms[index + 1].values, *c = terms[index + 2].values,
                   *d = terms[index + 3].values;
        const Real wa = terms[index].weight, wb = terms[index + 1].weight, wc = terms[index + 2].weight,
                   wd = terms[index + 3].weight;
        for (int x = from; x < to; ++x) sums[x] += wa * a[x] + wb * b[x] + wc * c[x] + wd * d[x];
    }
}

template <typename Real>
class RowBounds final : public CorrelationBounds::Rows {
public:
    RowBounds(const Surface& area, const CorrelationPicture& picture);
    void Bound(int y, double target, std::vector<PlaceBound>& survivors) override;

private:
    static constexpr double kRounding = std::numeric_limits<Real>::epsilon() / 2;

    PELMORA_WIDE_VECTORS void Statistics(int y, double least);
    PELMORA_WIDE_VECTORS void OpaqueSpreads(int y);
    void MakeLevelTerms(int y, std::size_t level);
    PELMORA_WIDE_VECTORS void Level(int y, std::size_t level, int from, int to);
    void MakeTapTerms(int y, std::size_t stages);
    void Taps(int y, int from, int to);
    PELMORA_WIDE_VECTORS void TapBounds(int from, int to, double slack, double restNorm);
    bool Live(int x) const { return bound_[static_cast<std::size_t>(x)] >= need_[static_cast<std::size_t>(x)]; }
    // Calls bound(from, to) on the live places in runs of at most kSpan; then keeps in
    // alive_ only those still live.
    template <class Bounder>
    void OverLive(Bounder bound);

    const CorrelationPicture& picture_;
    int places_;
    BlockSums<Real> blocks_;
    BoxSums rectangle_;                 // the window's squares, and its channels when the grid leaves margins
    std::vector<BoxSums> opaqueBoxes_;  // when the picture has transparent pixels
    std::vector<double> levelSlack_;    // per grid, more than the roundings of its sums can add up to

    // Per place of the row; a place is live while its bound reaches its need.
    std::vector<double> need_;       // what the bound of N must reach: target |u| times at most |v|
    std::vector<double> bound_;      // the least bound of N so far
    std::vector<double> below_;      // at most |v|^2, when the picture has transparent pixels
    std::vector<double> spread_;     // Q less the squared sums of the grid and the margins over their pixels
    std::vector<double> constant_;   // the sums of the grid and the margins times the picture's means over them
    std::vector<Real> gridSums_[3];  // the area's sums over the grid
    std::vector<Real> restSums_[3];  // and over the margins
    std::vector<double> blockPart_;  // at least the finest grid's block means times the area
    std::vector<double> residual_;   // at least R on the finest grid
    std::vector<Real> tapSums_;
    std::vector<int> alive_;  // the live places, alive_[0, aliveCount_)
    std::size_t aliveCount_ = 0;

    std::vector<std::vector<Term<Real>>> levelTerms_;  // per grid, its block sums of row levelTermsRow_
    std::vector<int> levelTermsRow_;
    std::vector<Term<Real>> tapTerms_;       // of row tapTermsRow_, for the first tapTermStages_ stages
    std::vector<std::size_t> tapStageEnds_;  // where each stage's terms end
    int tapTermsRow_ = -1;
    std::size_t tapTermStages_ = 0;
    std::vector<const Real*> planeRows_;  // row y's area channels, by picture row and channel
};

template <typename Real>
RowBounds<Real>::RowBounds(const Surface& area, const CorrelationPicture& picture)
    : picture_(picture),
      places_(area.Width() - picture.Width() + 1),
      blocks_(area, picture),
      rectangle_(area, picture.Width(), picture.Height(), picture.MarginPixels() > 0) {
    if (!picture.AllOpaque())
        for (const PictureBox& box : picture.OpaqueBoxes())
            opaqueBoxes_.emplace_back(area, box.width, box.height, true);
    // The sums' terms: the block means times the block sums taken from the grid's mean (at
    // most 255 times the grid's pixels), in Real, a few roundings each; the constant terms
    // in double, N being at most 255 * 255 * 3 a pixel.
    const double gridPixels = static_cast<double>(picture.GridWidth()) * picture.GridHeight();
    const double doubleSlack = 1e-12 * 255 * 255 * 3 * static_cast<double>(picture.Width()) * picture.Height();
    for (const BlockLevel& level : picture.Levels()) {
        double meanMagnitudes = 0;
        for (const auto& means : level.means)
            for (const double mean : means) meanMagnitudes += std::abs(mean);
        const double terms = 3.0 * level.Blocks() + 4;
        levelSlack_.push_back(terms * kRounding * 1.1 * meanMagnitudes * 255 * gridPixels / level.Blocks() +
                              doubleSlack);
    }
    levelTerms_.resize(picture.Levels().size());
    levelTermsRow_.assign(picture.Levels().size(), -1);
    const auto size = static_cast<std::size_t>(places_);
    for (auto* values : {&need_, &bound_, &below_, &spread_, &constant_, &blockPart_, &residual_}) values->resize(size);
    for (std::size_t channel = 0; channel < 3; ++channel) {
        gridSums_[channel].resize(size);
        restSums_[channel].resize(size);
    }
    tapSums_.resize(size);
    alive_.resize(size);
    planeRows_.resize(static_cast<std::size_t>(picture.Height()) * 3);
}

// The window's sums and spreads at every place of row y, and what each place's bound must
// reach (infinity for a window of one colour, which scores 0). In runs of places whose
// steps gather in local arrays; each loop writes one array the others cannot overlap, which
// compilers turn into vector code.
template <typename Real>
void RowBounds<Real>::Statistics(int y, double least) {
    const int places = places_;
    const double pixels = static_cast<double>(picture_.Width()) * picture_.Height();
    const double gridPixels = static_cast<double>(picture_.GridWidth()) * picture_.GridHeight();
    const bool margins = picture_.MarginPixels() > 0, opaque = picture_.AllOpaque();
    const bool exact = static_cast<std::int64_t>(picture_.Width()) * picture_.Height() <= kExactWindowPixels;
    // The grid's sums from its coarsest blocks' (which are times their number).
    const BlockLevel& coarsest = picture_.Levels().front();
    for (int channel = 0; channel < 3; ++channel) {
        const Real* parts[4];
        for (int block = 0; block < coarsest.Blocks(); ++block)
            parts[block] = blocks_.Row(0, y + block / coarsest.columns * coarsest.blockHeight, channel) +
                           block % coarsest.columns * coarsest.blockWidth;
        AddRows(parts, coarsest.Blocks(), Real(1) / static_cast<Real>(coarsest.Blocks()), gridSums_[channel].data(),
                static_cast<std::size_t>(places));
    }
    const double* squares = rectangle_.Row(y, BoxQuantity::Squares);
    const double* windowSums[3] = {squares, squares, squares};
    if (margins)
        for (int channel = 0; channel < 3; ++channel)
            windowSums[channel] = rectangle_.Row(y, static_cast<BoxQuantity>(channel));
    if (!opaque) OpaqueSpreads(y);
    // scaled = count * squares - sums^2 is exactly 0 only for a window of one colour; beyond
    // kExactWindowPixels it is off by a few roundings of pixels * squares.
    const double scaledSlack = exact ? 0 : 8 * kDoubleRounding * pixels;
    const double oneColour = exact ? std::numeric_limits<double>::infinity() : 0;
    const double inversePixels = (1 - 4 * kDoubleRounding) / pixels, inverseGridPixels = 1 / gridPixels;
    const double inverseMarginPixels = margins ? 1 / static_cast<double>(picture_.MarginPixels()) : 0;
    const std::array<double, 3> gridMeans = picture_.GridMeans(), marginMeans = picture_.Levels().back().restMeans;
    for (int start = 0; start < places; start += kSpan) {
        const int count = std::min(kSpan, places - start);
        const auto at = static_cast<std::size_t>(start);
        const double* q = squares + start;
        double grid[3][kSpan], rest[3][kSpan];
        for (std::size_t channel = 0; channel < 3; ++channel) {
            const Real* sums = gridSums_[channel].data() + at;
            for (int x = 0; x < count; ++x) grid[channel][x] = static_cast<double>(sums[x]);
            // With margins, the rectangle's sums less the grid's.
            if (!margins) continue;
            const double* window = windowSums[channel] + start;
            for (int x = 0; x < count; ++x) rest[channel][x] = window[x] - grid[channel][x];
        }
        if (!margins)
            for (auto& channel : rest) std::fill(channel, channel + count, 0.0);
        double scaled[kSpan], lowerOpaque[kSpan];
        for (int x = 0; x < count; ++x) {
            const double r = grid[0][x] + rest[0][x], g = grid[1][x] + rest[1][x], b = grid[2][x] + rest[2][x];
            scaled[x] = pixels * q[x] - (r * r + g * g + b * b);
            lowerOpaque[x] = std::max(scaled[x] - scaledSlack * q[x], 0.0) * inversePixels;
        }
        const double* lower = opaque ? lowerOpaque : below_.data() + at;
        double* need = need_.data() + at;
        for (int x = 0; x < count; ++x) need[x] = least * std::sqrt(lower[x]) + (scaled[x] == 0 ? oneColour : 0.0);
        double* spread = spread_.data() + at;
        for (int x = 0; x < count; ++x)
            spread[x] =
                q[x] * (1 + 8 * kDoubleRounding) -
                (grid[0][x] * grid[0][x] + grid[1][x] * grid[1][x] + grid[2][x] * grid[2][x]) * inverseGridPixels -
                (rest[0][x] * rest[0][x] + rest[1][x] * rest[1][x] + rest[2][x] * rest[2][x]) * inverseMarginPixels;
        // Zero (and left so) when the grid holds every pixel.
        if (!margins && gridMeans == std::array<double, 3>{}) continue;
        double* constant = constant_.data() + at;
        for (int x = 0; x < count; ++x)
            constant[x] = grid[0][x] * gridMeans[0] + grid[1][x] * gridMeans[1] + grid[2][x] * gridMeans[2] +
                          rest[0][x] * marginMeans[0] + rest[1][x] * marginMeans[1] + rest[2][x] * marginMeans[2];
        if (!margins) continue;
        for (std::size_t channel = 0; channel < 3; ++channel) {
            Real* restSums = restSums_[channel].data() + at;
            for (int x = 0; x < count; ++x) restSums[x] = static_cast<Real>(rest[channel][x]);
        }
    }
}

// At most |v|^2 where the picture has transparent pixels: over rectangles of opaque pixels,
// each about its own mean, the area's deviations are at most those under all the opaque
// pixels about theirs.
template <typename Real>
void RowBounds<Real>::OpaqueSpreads(int y) {
    const int places = places_;
    double* below = below_.data();
    std::fill(below, below + places, 0.0);
    for (std::size_t index = 0; index < opaqueBoxes_.size(); ++index) {
        const PictureBox& box = picture_.OpaqueBoxes()[index];
        const double boxPixels = static_cast<double>(box.Pixels());
        const double boxSlack = box.Pixels() <= kExactWindowPixels ? 0 : 8 * kDoubleRounding * boxPixels;
        const double inverseBoxPixels = (1 - 4 * kDoubleRounding) / boxPixels;
        BoxSums& boxSums = opaqueBoxes_[index];
        const double* q = boxSums.Row(y + box.top, BoxQuantity::Squares) + box.left;
        const double* r = boxSums.Row(y + box.top, BoxQuantity::Red) + box.left;
        const double* g = boxSums.Row(y + box.top, BoxQuantity::Green) + box.left;
        const double* b = boxSums.Row(y + box.top, BoxQuantity::Blue) + box.left;
        for (int x = 0; x < places; ++x) {
            const double scaled = boxPixels * q[x] - boxSlack * q[x] - (r[x] * r[x] + g[x] * g[x] + b[x] * b[x]);
            below[x] += std::max(scaled, 0.0) * inverseBoxPixels;
        }
    }
}

// Each block's sums of row y on one grid, taken from the grid's sums, times the picture's
// block mean; by channel, in fours.
template <typename Real>
void RowBounds<Real>::MakeLevelTerms(int y, std::size_t index) {
    const BlockLevel& level = picture_.Levels()[index];
    std::vector<Term<Real>>& terms = levelTerms_[index];
    terms.clear();
    for (int channel = 0; channel < 3; ++channel) {
        const Real* centre = gridSums_[channel].data();
        for (int block = 0; block < level.Blocks(); ++block)
            terms.push_back(
                {blocks_.Row(index, y + block / level.columns * level.blockHeight, channel) +
                     block % level.columns * level.blockWidth,
                 centre,
                 static_cast<Real>(level.means[static_cast<std::size_t>(block)][static_cast<std::size_t>(channel)])});
        // Four terms a pass, all of one channel: grids of fewer blocks get terms that add
        // nothing (the centre itself, weighed 0).
        while (terms.size() % 4 != 0) terms.push_back({centre, centre, 0});
    }
    levelTermsRow_[index] = y;
}

// Bounds the places in [from, to) by one grid, in runs whose sums gather in local arrays:
// with each block's sums taken from the grid's sums, dots is the sum of the picture's block
// means times them, spreads the sum of their squares.
template <typename Real>
void RowBounds<Real>::Level(int y, std::size_t index, int from, int to) {
    const BlockLevel& level = picture_.Levels()[index];
    if (levelTermsRow_[index] != y) MakeLevelTerms(y, index);
    const std::vector<Term<Real>>& terms = levelTerms_[index];
    const double blocks = level.Blocks();
    const double inverseBlocks = 1 / blocks;  // a power of two
    const double blockPixels = static_cast<double>(level.blockWidth) * level.blockHeight;
    // The float sum of the squared block sums (of positive terms) is off by at most terms
    // roundings of itself.
    const double shareOfSpread =
        (1 - (3 * blocks + 4) * kRounding * 1.1) / (blocks * blocks * blockPixels) * (1 - 1e-15);
    const double slack = levelSlack_[index], residualNorm = level.residualNorm;
    const bool finest = index + 1 == picture_.Levels().size();
    for (int start = from; start < to; start += kSpan) {
        const int count = std::min(to - start, kSpan);
        // The terms in fours, each four of one channel and so of one centre; the first
        // four start the sums.
        Real dots[kSpan], spreads[kSpan];
        for (std::size_t term = 0; term < terms.size(); term += 4) {
            const Real *a = terms[term].values + start, *b = terms[term + 1].values + start,
                       *c = terms[term + 2].values + start, *d = terms[term + 3].values + start;
            const Real* centre = terms[term].centre + start;
            const Real wa = terms[term].weight, wb = terms[term + 1].weight, wc = terms[term + 2].weight,
                       wd = terms[term + 3].weight;
            if (term == 0) {
                for (int x = 0; x < count; ++x) {
                    const Real offA = a[x] - centre[x], offB = b[x] - centre[x], offC = c[x] - centre[x],
                               offD = d[x] - centre[x];
                    dots[x] = wa * offA + wb * offB + wc * offC + wd * offD;
                    spreads[x] = offA * offA + offB * offB + offC * offC + offD * offD;
                }
            } else {
                for (int x = 0; x < count; ++x) {
                    const Real offA = a[x] - centre[x], offB = b[x] - centre[x], offC = c[x] - centre[x],
                               offD = d[x] - centre[x];
                    dots[x] += wa * offA + wb * offB + wc * offC + wd * offD;
                    spreads[x] += offA * offA + offB * offB + offC * offC + offD * offD;
                }
            }
        }
        // Float sums to double in a loop of their own: compilers vectorise loops of one width.
        double dotsWide[kSpan], spreadsWide[kSpan];
        for (int x = 0; x < count; ++x) {
            dotsWide[x] = static_cast<double>(dots[x]);
            spreadsWide[x] = static_cast<double>(spreads[x]);
        }
        // R: the spread less the blocks' share of it.
        const auto at = static_cast<std::size_t>(start);
        const double *constant = constant_.data() + at, *spread = spread_.data() + at;
        double part[kSpan], residual[kSpan];
        for (int x = 0; x < count; ++x) {
            part[x] = dotsWide[x] * inverseBlocks + constant[x] + slack;
            residual[x] = std::sqrt(std::max(spread[x] - spreadsWide[x] * shareOfSpread, 0.0));
        }
        double* bound = bound_.data() + at;
        for (int x = 0; x < count; ++x) bound[x] = std::min(bound[x], part[x] + residualNorm * residual[x]);
        if (!finest) continue;
        std::copy(part, part + count, blockPart_.begin() + static_cast<std::ptrdiff_t>(at));
        std::copy(residual, residual + count, residual_.begin() + static_cast<std::ptrdiff_t>(at));
    }
}

// Bounds the places in [from, to) by the taps so far: the finest grid's block part, the taps'
// sums and the rest's norm times R.
template <typename Real>
void RowBounds<Real>::TapBounds(int from, int to, double slack, double restNorm) {
    const auto at = static_cast<std::size_t>(from);
    const double *blockPart = blockPart_.data() + at, *residual = residual_.data() + at;
    const Real* sums = tapSums_.data() + at;
    double* bound = bound_.data() + at;
    for (int x = 0; x < to - from; ++x)
        bound[x] = std::min(bound[x], blockPart[x] + static_cast<double>(sums[x]) + slack + restNorm * residual[x]);
}

// The terms of row y's taps, stage by stage up to `stages`: each tap's area channel times its
// residual, and the area's block means times the stage's residual sums per block, taken away.
template <typename Real>
void RowBounds<Real>::MakeTapTerms(int y, std::size_t stages) {
    const std::size_t finestIndex = picture_.Levels().size() - 1;
    const BlockLevel& finest = picture_.Levels().back();
    // The block sums are times the number of blocks: over block pixels, over grid pixels.
    const double gridPixels = static_cast<double>(picture_.GridWidth()) * picture_.GridHeight();
    const double marginPixels = static_cast<double>(picture_.MarginPixels());
    if (tapTermsRow_ != y) {
        for (int row = 0; row < picture_.Height(); ++row)
            for (int channel = 0; channel < 3; ++channel)
                planeRows_[static_cast<std::size_t>(row) * 3 + static_cast<std::size_t>(channel)] =
                    blocks_.Plane(y + row, channel);
        tapTerms_.clear();
        tapStageEnds_.clear();
        tapTermsRow_ = y;
        tapTermStages_ = 0;
    }
    for (; tapTermStages_ < stages; ++tapTermStages_) {
        const TapStage& stage = picture_.TapStages()[tapTermStages_];
        for (std::size_t done = tapTermStages_ == 0 ? 0 : picture_.TapStages()[tapTermStages_ - 1].end;
             done < stage.end; ++done) {
            const ResidualTap& tap = picture_.Taps()[done];
            tapTerms_.push_back(
                {planeRows_[static_cast<std::size_t>(tap.y) * 3 + static_cast<std::size_t>(tap.channel)] + tap.x,
                 nullptr, static_cast<Real>(tap.residual)});
        }
        for (int block = 0; block < finest.Blocks(); ++block)
            for (int channel = 0; channel < 3; ++channel)
                if (const float sum =
                        stage.blockSums[static_cast<std::size_t>(block)][static_cast<std::size_t>(channel)];
                    sum != 0)
                    tapTerms_.push_back(
                        {blocks_.Row(finestIndex, y + block / finest.columns * finest.blockHeight, channel) +
                             block % finest.columns * finest.blockWidth,
                         nullptr, static_cast<Real>(-sum / gridPixels)});
        for (std::size_t channel = 0; channel < 3; ++channel)
            if (stage.restSums[channel] != 0)
                tapTerms_.push_back(
                    {restSums_[channel].data(), nullptr, static_cast<Real>(-stage.restSums[channel] / marginPixels)});
        // Terms in fours: the last four filled with terms that add nothing.
        while (tapTerms_.size() % 4 != 0) tapTerms_.push_back({planeRows_.front(), nullptr, 0});
        tapStageEnds_.push_back(tapTerms_.size());
    }
}

// Bounds the live places in [from, to) by the taps, stage after stage, while any is left.
template <typename Real>
void RowBounds<Real>::Taps(int y, int from, int to) {
    Real* sums = tapSums_.data();
    std::fill(sums + from, sums + to, Real(0));
    for (std::size_t stage = 0; stage < picture_.TapStages().size(); ++stage) {
        if (tapTermsRow_ != y || tapTermStages_ <= stage) MakeTapTerms(y, stage + 1);
        AddTerms(tapTerms_, stage == 0 ? 0 : tapStageEnds_[stage - 1], tapStageEnds_[stage], sums, from, to);
        TapBounds(from, to, picture_.TapStages()[stage].roundingSlack, picture_.TapStages()[stage].restNorm);
        while (from < to && !Live(from)) ++from;
        while (to > from && !Live(to - 1)) --to;
        if (from == to) return;
    }
}

template <typename Real>
template <class Bounder>
void RowBounds<Real>::OverLive(Bounder bound) {
    for (std::size_t first = 0; first < aliveCount_;) {
        std::size_t end = first + 1;
        while (end < aliveCount_ && alive_[end] < alive_[first] + kSpan) ++end;
        bound(alive_[first], alive_[end - 1] + 1);
        first = end;
    }
    std::size_t kept = 0;
    for (std::size_t index = 0; index < aliveCount_; ++index) {
        alive_[kept] = alive_[index];
        kept += Live(alive_[index]) ? 1 : 0;
    }
    aliveCount_ = kept;
}

template <typename Real>
void RowBounds<Real>::Bound(int y, double target, std::vector<PlaceBound>& survivors) {
    blocks_.Advance(y);
    const double norm = picture_.DeviationNorm();
    // N must reach target * |u| * |v|; products of doubles are off by a few units in the
    // last place at most.
    const double least = target * (1 - 1e-12) * norm;
    Statistics(y, least);
    std::fill(bound_.begin(), bound_.end(), std::numeric_limits<double>::infinity());
    Level(y, 0, 0, places_);
    aliveCount_ = 0;
    for (int x = 0; x < places_; ++x) {
        alive_[aliveCount_] = x;
        aliveCount_ += Live(x) ? 1 : 0;
    }
    for (std::size_t level = 1; level < picture_.Levels().size(); ++level)
        OverLive([&](int from, int to) { Level(y, level, from, to); });
    if (!picture_.TapStages().empty()) OverLive([&](int from, int to) { Taps(y, from, to); });
    // A live place's need is least times at most |v|; its score is at most its bound over |u| |v|.
    for (std::size_t index = 0; index < aliveCount_; ++index) {
        const auto at = static_cast<std::size_t>(alive_[index]);
        const double bound = need_[at] > 0 ? bound_[at] * least / (need_[at] * norm) * (1 + 1e-12) : 1;
        survivors.push_back({alive_[index], y, std::min(bound, 1.0)});
    }
}

}  // namespace

CorrelationBounds::CorrelationBounds(const Surface& area, const CorrelationPicture& picture) {
    // Float holds every block sum (times the number of blocks) exactly while the grid has
    // at most 2^24 / 255 pixels.
    const std::int64_t gridPixels = static_cast<std::int64_t>(picture.GridWidth()) * picture.GridHeight();
    if (gridPixels * 255 <= (1 << 24)) rows_ = std::make_unique<RowBounds<float>>(area, picture);
    else rows_ = std::make_unique<RowBounds<double>>(area, picture);
}

CorrelationBounds::~CorrelationBounds() = default;

void CorrelationBounds::BoundRow(int y, double target, std::vector<PlaceBound>& survivors) {
    rows_->Bound(y, target, survivors);
}

}  // namespace pelmora
