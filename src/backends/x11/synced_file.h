// SPDX-License-Identifier: MIT
// Flushing a standard C file to the disk on Linux, for writers that rename a finished
// temporary file over the old one and must not leave an empty file after a crash.
#pragma once

#include <cstdio>

namespace pelmora {

// Writes out file's buffer and waits until the system has the bytes on the disk; false
// when either fails (a full disk, an I/O error).
bool FlushToDisk(std::FILE* file);

}  // namespace pelmora
