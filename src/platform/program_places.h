// SPDX-License-Identifier: MIT
// Where the program and its user's files lie, and whether the program may write there:
// what the settings lookup asks. The window's FileSystem answers it, and so do pelmora-cli's
// files, so that both find the same settings file.
#pragma once

#include <string>

namespace pelmora {

class ProgramPlaces {
public:
    virtual ~ProgramPlaces() = default;
    // The executable's directory without a trailing separator (except for a root).
    virtual std::string ExecutableDirectory() = 0;
    virtual char Separator() = 0;  // '/' on Linux, '\' on Windows
    // A normal file is at path. On Windows a file marked hidden or system counts as missing.
    virtual bool FileExists(const std::string& path) = 0;
    // Files can be created in the folder (found by trying, not from permission bits).
    virtual bool DirectoryWritable(const std::string& path) = 0;
    // A file is at path that cannot be written: marked read-only, or one the user may not
    // write. Found by opening it for writing, which changes nothing, not from permission
    // bits (root passes those on Linux). False when no file is there.
    virtual bool FileReadOnly(const std::string& path) = 0;
    // The program was installed for every user of the machine (by a package): its folder is
    // the system's, where no user's files belong even when the user (root) could write there.
    virtual bool InstalledForAllUsers() = 0;
    // This program's per-user configuration folder. A FileSystem creates it when missing,
    // since the window writes its settings there; pelmora-cli, which only reads, leaves it be.
    virtual std::string UserConfigDirectory() = 0;
};

}  // namespace pelmora
