// SPDX-License-Identifier: MIT
#include "backends/posix/standard_output.h"

#include <unistd.h>

namespace pelmora {

bool StandardOutputIsTerminal() { return isatty(STDOUT_FILENO) == 1; }

}  // namespace pelmora
