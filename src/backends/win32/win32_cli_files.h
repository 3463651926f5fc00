// SPDX-License-Identifier: MIT
// pelmora-cli.exe's files over the Win32 file system, which opens them by UTF-16 paths and
// keeps the system's reason when a write fails.
#pragma once

#include <cstdint>
#include <string>

#include "backends/win32/win32_file_system.h"
#include "cli/cli_services.h"

namespace pelmora {

class Win32CliFiles final : public CliFiles {
public:
    FileStart ReadFileStart(const std::string& path, std::uint64_t maxBytes) override;
    std::string WriteFileWhole(const std::string& path, const std::string& bytes) override;

private:
    Win32FileSystem files_;
};

}  // namespace pelmora
