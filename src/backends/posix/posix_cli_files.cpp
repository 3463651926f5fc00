// SPDX-License-Identifier: MIT
#include "backends/posix/posix_cli_files.h"

#include <system_error>

#include "backends/posix/program_folders.h"
#include "backends/posix/regular_file.h"
#include "backends/posix/whole_file_writer.h"

namespace pelmora {

FileStart PosixCliFiles::ReadFileStart(const std::string& path, std::uint64_t maxBytes) {
    return ReadRegularFileStart(path, maxBytes);
}

std::string PosixCliFiles::WriteFileWhole(const std::string& path, const std::string& bytes) {
    const std::error_code error = ReplaceFileWhole(path, bytes);
    return error ? error.message() : std::string();
}

std::string PosixCliFiles::ExecutableDirectory() { return ExecutableFolder(); }

bool PosixCliFiles::FileExists(const std::string& path) { return RegularFileAt(path); }

bool PosixCliFiles::DirectoryWritable(const std::string& path) { return FolderTakesNewFiles(path); }

bool PosixCliFiles::FileReadOnly(const std::string& path) { return RegularFileRefusesWrites(path); }

bool PosixCliFiles::InstalledForAllUsers() { return InstalledUnderPrefix(ExecutableFolder()); }

std::string PosixCliFiles::UserConfigDirectory() { return UserConfigFolder(); }

}  // namespace pelmora
