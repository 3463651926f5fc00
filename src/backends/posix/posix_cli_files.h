// SPDX-License-Identifier: MIT
// pelmora-cli's files on Linux: read as the window reads them (regular files only, never a
// pipe waited on), replaced whole by the writer both Linux programs use, and the settings
// file's places found as the window finds them.
#pragma once

#include <cstdint>
#include <string>

#include "cli/cli_services.h"

namespace pelmora {

class PosixCliFiles final : public CliFiles {
public:
    FileStart ReadFileStart(const std::string& path, std::uint64_t maxBytes) override;
    std::string WriteFileWhole(const std::string& path, const std::string& bytes) override;
    std::string ExecutableDirectory() override;
    char Separator() override { return '/'; }
    bool FileExists(const std::string& path) override;
    bool DirectoryWritable(const std::string& path) override;
    bool FileReadOnly(const std::string& path) override;
    bool InstalledForAllUsers() override;
    std::string UserConfigDirectory() override;  // named, not made
};

}  // namespace pelmora
