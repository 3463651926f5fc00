// SPDX-License-Identifier: MIT
// Reading the start of a regular file by POSIX calls, for both Linux programs. Whatever is
// not a regular file (a folder, a device, a named pipe or socket) is refused by what it is,
// never read and never waited on: a named pipe without a writer would block a plain open.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file_system.h"

namespace pelmora {

FileStart ReadRegularFileStart(const std::string& path, std::uint64_t maxBytes);

}  // namespace pelmora
