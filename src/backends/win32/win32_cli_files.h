// SPDX-License-Identifier: MIT
// pelmora-cli.exe's files over the Win32 file system, which opens them by UTF-16 paths and
// keeps the system's reason when a write fails, and finds the settings file's places as the
// window does, without making the per-user folder.
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
    std::string ExecutableDirectory() override { return files_.ExecutableDirectory(); }
    char Separator() override { return files_.Separator(); }
    bool FileExists(const std::string& path) override { return files_.FileExists(path); }
    bool DirectoryWritable(const std::string& path) override { return files_.DirectoryWritable(path); }
    bool FileReadOnly(const std::string& path) override { return files_.FileReadOnly(path); }
    bool InstalledForAllUsers() override { return files_.InstalledForAllUsers(); }
    std::string UserConfigDirectory() override { return files_.UserConfigPath(); }

private:
    Win32FileSystem files_;
};

}  // namespace pelmora
