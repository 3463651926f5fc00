// SPDX-License-Identifier: MIT
// What a Linux program's standard output is connected to.
#pragma once

namespace pelmora {

// Standard output is a terminal (not a pipe or a file), where binary bytes do not belong.
bool StandardOutputIsTerminal();

}  // namespace pelmora
