// SPDX-License-Identifier: MIT
// Keeping, of places that passed a search, those that are the best of their neighbourhood.
#pragma once

#include <vector>

#include "search/similarity_search.h"

namespace pelmora {

// The places that are the best of every place within distance of them (corners
// dx^2 + dy^2 <= distance^2): no other has a higher score, or an equal one earlier in
// reading order. A place beaten by a neighbour is left out even when that neighbour is
// beaten in turn. Best first, equal scores in reading order.
std::vector<ScoredPlace> BestOfTheirNeighbourhoods(std::vector<ScoredPlace> places, int distance);

}  // namespace pelmora
