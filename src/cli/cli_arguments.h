// SPDX-License-Identifier: MIT
// pelmora-cli's command line: the command, its operands and options read into one
// request, or the answer that needs no desktop (help, version, a bad argument).
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cli/argument_values.h"
#include "cli/cli_request.h"
#include "cli/cli_result.h"

namespace pelmora {

// One way this program can read the screen: its name for --backend, and what it reads.
struct CliBackend {
    std::string_view name;         // "wayland"
    std::string_view description;  // "the desktop portal's screenshots"
};

// The backends the program offers (none to choose from on Windows), and the one it uses
// unless --backend names another.
struct CliBackends {
    std::vector<CliBackend> offered;
    std::size_t chosen = 0;
};

// Reads the arguments after the program name. A bad argument gives status 2 and a message
// that names the argument and what it wanted; --help and --version give their text, and
// say which backend is in use. --backend NAME anywhere before "--" chooses one of those
// offered, whose name the request carries.
std::variant<CliRequest, CliResult> ParseCliArguments(const std::vector<std::string>& args,
                                                      const CliBackends& backends = {});

}  // namespace pelmora
