// SPDX-License-Identifier: MIT
#include "search/block_sums.h"

#include <algorithm>
#include <cstdint>

#include "search/row_box_sums.h"

namespace pelmora {

template <typename Real>
BlockSums<Real>::BlockSums(const Surface& area, const CorrelationPicture& picture)
    : area_(area),
      picture_(picture),
      width_(static_cast<std::size_t>(area.Width())),
      height_(picture.Height()),
      rowsFrom_(static_cast<std::size_t>(height_ + 1) * 3 * width_),
      columns_(3 * width_),
      runs_(2 * width_),
      made_(picture.Levels().size(), -1) {
    // A grid's rows from the place row's to the last of its blocks' tops.
    std::size_t rows = 0;
    for (const BlockLevel& level : picture.Levels()) {
        const std::size_t kept =
            static_cast<std::size_t>(picture.GridHeight()) - static_cast<std::size_t>(level.blockHeight) + 1;
        rings_.emplace_back(rows, kept);
        rows += kept;
    }
    rows_.resize(rowsFrom_ + rows * 3 * width_);
}

template <typename Real>
void BlockSums<Real>::MakePlane(int y) {
    const std::int32_t* pixels = area_.Row(y);
    for (int channel = 0; channel < 3; ++channel) {
        Real* plane = const_cast<Real*>(Plane(y, channel));
        for (std::size_t x = 0; x < width_; ++x) plane[x] = static_cast<Real>(pixels[x] >> (8 * channel) & 0xFF);
    }
}

template <typename Real>
void BlockSums<Real>::MakeFinest(int top) {
    const std::size_t level = picture_.Levels().size() - 1;
    const BlockLevel& grid = picture_.Levels()[level];
    const auto scale = static_cast<Real>(grid.Blocks());
    for (int channel = 0; channel < 3; ++channel) {
        Real* column = columns_.data() + static_cast<std::size_t>(channel) * width_;
        if (made_.back() < 0) {
            std::fill(column, column + width_, Real(0));
            for (int y = top; y < top + grid.blockHeight; ++y) {
                const Real* plane = Plane(y, channel);
                for (std::size_t x = 0; x < width_; ++x) column[x] += plane[x];
            }
        } else {
            const Real* entering = Plane(top + grid.blockHeight - 1, channel);
            const Real* leaving = Plane(top - 1, channel);
            for (std::size_t x = 0; x < width_; ++x) column[x] += entering[x] - leaving[x];
        }
        RowBoxSums(column, width_, static_cast<std::size_t>(grid.blockWidth), scale,
                   const_cast<Real*>(Row(level, top, channel)), runs_.data(), runs_.data() + width_);
    }
}

template <typename Real>
void BlockSums<Real>::MakeCoarser(std::size_t level, int top) {
    const BlockLevel& coarse = picture_.Levels()[level];
    const BlockLevel& fine = picture_.Levels()[level + 1];
    const int across = fine.columns / coarse.columns, down = fine.rows / coarse.rows;
    const auto places = width_ - static_cast<std::size_t>(coarse.blockWidth) + 1;
    // The finer sums are times as many blocks again as this grid has.
    const Real scale = Real(1) / static_cast<Real>(across * down);
    for (int channel = 0; channel < 3; ++channel) {
        // The finer blocks it is made of, across and then down.
        const Real* parts[4];
        for (int part = 0; part < across * down; ++part)
            parts[part] =
                Row(level + 1, top + part / across * fine.blockHeight, channel) + part % across * fine.blockWidth;
        AddRows(parts, across * down, scale, const_cast<Real*>(Row(level, top, channel)), places);
    }
}

template <typename Real>
void BlockSums<Real>::Advance(int y) {
    for (int row = planesMade_ < 0 ? y : planesMade_ + 1; row < y + height_; ++row) MakePlane(row);
    planesMade_ = y + height_ - 1;
    for (std::size_t level = picture_.Levels().size(); level-- > 0;) {
        const int last = y + picture_.GridHeight() - picture_.Levels()[level].blockHeight;
        for (int top = made_[level] < 0 ? y : made_[level] + 1; top <= last; ++top) {
            if (level + 1 == picture_.Levels().size()) MakeFinest(top);
            else MakeCoarser(level, top);
            made_[level] = top;
        }
    }
}

template class BlockSums<float>;
template class BlockSums<double>;

}  // namespace pelmora
