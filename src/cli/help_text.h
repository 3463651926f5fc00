// SPDX-License-Identifier: MIT
// pelmora-cli's --help, made from the command table.
#pragma once

#include <string>

namespace pelmora {

std::string CliHelpText();

}  // namespace pelmora
