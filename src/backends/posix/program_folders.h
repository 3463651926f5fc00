// SPDX-License-Identifier: MIT
// Where the program and its user's files lie on Linux, and whether it may write there: the
// answers to ProgramPlaces for both Linux programs, so that the window and pelmora-cli find
// the same settings file. Nothing here creates anything.
#pragma once

#include <string>

namespace pelmora {

// The folder of the running executable, from /proc/self/exe (symbolic links resolved); ""
// when the system does not tell.
std::string ExecutableFolder();

// The program's per-user configuration folder, named but not made: $XDG_CONFIG_HOME as it
// stands, or where it is unset or empty the home folder's .config (the home folder $HOME
// without "." and ".." steps, doubled or trailing slashes, and "/" where it is empty), then
// "/Pelmora". Qt's GenericConfigLocation comes out the same way.
std::string UserConfigFolder();

// Whether the executable in executableFolder was installed into a prefix as a package
// installs it: the folder is PREFIX/bin and PREFIX/share/applications holds the program's
// menu entry (as in /usr/bin with /usr/share/applications, or a package unpacked elsewhere).
bool InstalledUnderPrefix(const std::string& executableFolder);

// A regular file is at path (a symbolic link to one counts).
bool RegularFileAt(const std::string& path);

// A file can be created in the folder: found by creating one, which goes again at once,
// since permission bits do not tell (root passes them, a read-only mount is not in them).
bool FolderTakesNewFiles(const std::string& folder);

// A regular file is at path that cannot be written: found by opening it for appending,
// which neither creates nor cuts it.
bool RegularFileRefusesWrites(const std::string& path);

}  // namespace pelmora
