// SPDX-License-Identifier: MIT
// Upper bounds of the correlation score at every place of an area, one row of places at a
// time, cheap enough to rule out nearly every place before any is scored exactly.
#pragma once

#include <memory>
#include <vector>

#include "platform/surface.h"
#include "search/correlation_picture.h"

namespace pelmora {

// A place whose score the bounds could not rule out, and the least bound they found.
struct PlaceBound {
    int x = 0;
    int y = 0;
    double bound = 0;
};

class CorrelationBounds {
public:
    // picture must have several colours and fit in area; both must outlive this.
    CorrelationBounds(const Surface& area, const CorrelationPicture& picture);
    ~CorrelationBounds();

    // Adds to survivors every place of row y whose score may reach target (above 0): a
    // place left out scores below target for certain. Rows must come from the top down.
    void BoundRow(int y, double target, std::vector<PlaceBound>& survivors);

    // The work, in float sums where they hold every value exactly, else in double.
    class Rows;

private:
    std::unique_ptr<Rows> rows_;
};

}  // namespace pelmora
