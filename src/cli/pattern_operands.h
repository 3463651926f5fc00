// SPDX-License-Identifier: MIT
// The operands of find-points and wait-points: the first colour and the points at offsets
// from it, "COLOUR DX,DY,COLOUR [DX,DY,COLOUR ...]".
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "cli/cli_request.h"
#include "cli/cli_result.h"

namespace pelmora {

// The operands into request.pattern. A point is DX,DY,COLOUR: DX and DY any 32-bit whole
// numbers, "!" before COLOUR for a point that must not be near it, "~N" after it for a
// tolerance of its own. No operand at all is left for --slots to give the pattern.
std::optional<CliResult> ReadPatternOperands(std::string_view command, const std::vector<std::string>& operands,
                                             CliRequest& request);

}  // namespace pelmora
