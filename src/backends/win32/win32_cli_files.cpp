// SPDX-License-Identifier: MIT
#include "backends/win32/win32_cli_files.h"

namespace pelmora {

FileStart Win32CliFiles::ReadFileStart(const std::string& path, std::uint64_t maxBytes) {
    return files_.ReadFileStart(path, maxBytes);
}

std::string Win32CliFiles::WriteFileWhole(const std::string& path, const std::string& bytes) {
    return files_.WriteFileWhole(path, bytes) ? std::string() : files_.LastWriteFailure();
}

}  // namespace pelmora
