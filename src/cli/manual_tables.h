// SPDX-License-Identifier: MIT
// The command tables of the manual page and the README, made from the command table, so
// that what they say of each command is what its file declares.
#pragma once

#include <string>

namespace pelmora {

// The manual page's COMMANDS entries in roff: a tagged paragraph per command, those that
// share an explanation tagged together.
std::string ManualCommandsRoff();

// The README's table of commands in Markdown: a row per command, those that share an
// explanation in one row.
std::string ReadmeCommandsMarkdown();

}  // namespace pelmora
