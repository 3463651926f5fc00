// SPDX-License-Identifier: MIT
// What find-points and wait-points share: the pattern, from the operands or from the
// window's slots (--slots), and one search of the screen for it.
#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "cli/cli_request.h"
#include "cli/cli_result.h"
#include "cli/cli_services.h"
#include "search/point_pattern.h"

namespace pelmora {

// request's pattern: its operands', or with --slots the listed slots' points: the first
// slot's colour is the first colour and each other slot a point at its offset from the
// first one, with its colour. Status 2 when both or neither are given, when --slots names
// fewer than two slots or one that holds no point, or for a --file without --slots;
// reading the settings file may fail as ReadStoredSlots says.
std::variant<PointPattern, CliResult> RequestedPattern(std::string_view command, const CliRequest& request,
                                                       CliFiles& files);

// One search of request's region for pattern.
CliResult FindPointsAnswer(const CliRequest& request, CliServices& services, const PointPattern& pattern);

// The pattern in messages: "pattern of 0000FF and 2 points".
std::string PatternInMessage(const PointPattern& pattern);

}  // namespace pelmora
