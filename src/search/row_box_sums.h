// SPDX-License-Identifier: MIT
// Sums along and across rows of numbers, in passes that compilers turn into vector code:
// every run of consecutive values of a row, made from sums of runs of powers of two, each
// from two of half its length (about log2(width) passes over the row); and up to four rows
// added in one pass.
#pragma once

#include <cstddef>

#include "search/wide_vectors.h"

namespace pelmora {

// out[x] = scale * (in[x] + ... + in[x + width - 1]) for x from 0 to size - width (width
// from 1 to size). first and second are room for size values each.
template <typename Number>
PELMORA_WIDE_VECTORS void RowBoxSums(const Number* in, std::size_t size, std::size_t width, Number scale, Number* out,
                                     Number* first, Number* second) {
    const std::size_t count = size - width + 1;
    const Number* runs = in;  // the sums of runs of `length` values
    std::size_t length = 1, offset = 0;
    bool started = false;
    for (std::size_t left = width;; left >>= 1) {
        if (left & 1) {
            const Number* from = runs + offset;
            if (started) {
                for (std::size_t x = 0; x < count; ++x) out[x] += from[x] * scale;
            } else {
                for (std::size_t x = 0; x < count; ++x) out[x] = from[x] * scale;
                started = true;
            }
            offset += length;
        }
        if (left == 1) break;
        Number* doubled = runs == first ? second : first;
        for (std::size_t x = 0; x + 2 * length <= size; ++x) doubled[x] = runs[x] + runs[x + length];
        runs = doubled;
        length *= 2;
    }
}

// out[x] = scale * (the rows' values at x added up), for x below size; 1, 2 or 4 rows.
template <typename Number>
PELMORA_WIDE_VECTORS void AddRows(const Number* const* rows, int count, Number scale, Number* out, std::size_t size) {
    const Number *a = rows[0], *b = rows[count > 1 ? 1 : 0], *c = rows[count > 2 ? 2 : 0], *d = rows[count > 3 ? 3 : 0];
    if (count == 1) {
        for (std::size_t x = 0; x < size; ++x) out[x] = a[x] * scale;
    } else if (count == 2) {
        for (std::size_t x = 0; x < size; ++x) out[x] = (a[x] + b[x]) * scale;
    } else {
        for (std::size_t x = 0; x < size; ++x) out[x] = (a[x] + b[x] + c[x] + d[x]) * scale;
    }
}

}  // namespace pelmora
