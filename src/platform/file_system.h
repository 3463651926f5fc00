// SPDX-License-Identifier: MIT
// Files and folders, with paths in the platform's own notation (UTF-8 inside the program).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pelmora {

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // The executable's directory without a trailing separator (except for a root).
    virtual std::string ExecutableDirectory() = 0;
    virtual char Separator() = 0;  // '/' on Linux, '\' on Windows
    // A normal file is at path. On Windows a file marked hidden or system counts as missing.
    virtual bool FileExists(const std::string& path) = 0;
    // The size in bytes of the normal file at path; empty when there is none.
    virtual std::optional<std::uint64_t> FileSize(const std::string& path) = 0;
    // The whole file as bytes; empty when it cannot be read (missing, denied, a folder).
    virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
    // Replaces the file as a whole: the bytes go to a temporary file beside it, which is then
    // renamed over the target, so an interrupted write never leaves a torn file.
    // False when the file could not be written; the old contents then stay.
    virtual bool WriteFileWhole(const std::string& path, const std::string& bytes) = 0;
    // Something, a file or a folder, is at path.
    virtual bool EntryExists(const std::string& path) = 0;
    // Creates the folder at path (its parent must exist); true when it was made.
    virtual bool CreateFolder(const std::string& path) = 0;
    // Files can be created in the folder (found by trying, not from permission bits).
    virtual bool DirectoryWritable(const std::string& path) = 0;
    // The program was installed for every user of the machine (by a package): its folder is
    // the system's, where no user's files belong even when the user (root) could write there.
    virtual bool InstalledForAllUsers() = 0;
    // This program's per-user configuration folder, created when missing.
    virtual std::string UserConfigDirectory() = 0;
    // The user's own pictures folder (the XDG pictures folder on Linux, Pictures on Windows).
    virtual std::string UserPicturesDirectory() = 0;
};

}  // namespace pelmora
