// SPDX-License-Identifier: MIT
#include "backends/posix/standard_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace pelmora {

bool StandardOutputIsTerminal() { return isatty(STDOUT_FILENO) == 1; }

std::string WriteStandardOutput(std::string_view bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size()) return {};
    return std::strerror(errno);
}

std::string FlushStandardOutput() {
    if (std::fflush(stdout) == 0) return {};
    return std::strerror(errno);
}

}  // namespace pelmora
