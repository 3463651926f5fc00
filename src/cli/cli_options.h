// SPDX-License-Identifier: MIT
// pelmora-cli's options, one table: each option's name, whether it takes a value, and how
// that value is read into the request. A command names the options it takes.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/cli_request.h"

namespace pelmora {

struct CliOption {
    std::string_view name;  // "--format"
    bool takesValue;
    // Reads value ("" for a flag) into request; the complaint when it is not one.
    std::optional<std::string> (*read)(const std::string& value, CliRequest& request);
};

// Every option but --json (which every command takes), in the order a command line's
// options are checked and read.
std::span<const CliOption> CliOptions();

// The option of that name, or none.
const CliOption* FindCliOption(std::string_view name);

}  // namespace pelmora
