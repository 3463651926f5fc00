// SPDX-License-Identifier: MIT
// pelmora-cli's files on Linux: read as the window reads them (regular files only, never a
// pipe waited on) and replaced whole by the writer both Linux programs use.
#pragma once

#include <cstdint>
#include <string>

#include "cli/cli_services.h"

namespace pelmora {

class PosixCliFiles final : public CliFiles {
public:
    FileStart ReadFileStart(const std::string& path, std::uint64_t maxBytes) override;
    std::string WriteFileWhole(const std::string& path, const std::string& bytes) override;
};

}  // namespace pelmora
