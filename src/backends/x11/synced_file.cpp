// SPDX-License-Identifier: MIT
#include "backends/x11/synced_file.h"

#include <unistd.h>

namespace pelmora {

bool FlushToDisk(std::FILE* file) { return std::fflush(file) == 0 && fsync(fileno(file)) == 0; }

}  // namespace pelmora
