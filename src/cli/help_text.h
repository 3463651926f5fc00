// SPDX-License-Identifier: MIT
// pelmora-cli's --help, made from the command table.
#pragma once

#include <string>

namespace pelmora {

// backendNames: those --backend takes ("x11 or wayland"), backendInUse: the one in use with
// what it reads; both "" where there is no choice.
std::string CliHelpText(const std::string& backendNames, const std::string& backendInUse);

}  // namespace pelmora
