// SPDX-License-Identifier: MIT
// Replacing a file whole on Linux, for both Linux programs: the bytes go into a file in the
// target's folder that has no name yet, and take the target's name only once they are all
// on the disk. A reader, a crash or a killed process finds the old file or the whole new
// one, and nothing beside it.
#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace pelmora {

// Where the bytes wait until they are whole.
enum class TemporaryFile {
    kUnnamedWherePossible,  // a file without a name (O_TMPFILE); a named one where the file system has none
    kNamed,                 // a named file beside the target, always
};

// Makes the file at path hold bytes, replacing an old one whole or not at all. A symbolic
// link is followed to the file it names; a folder and a file the user may not write are
// refused, as a save over them would be. An old file's permission bits are kept; a new file
// gets 0666 less the umask. A named temporary file is removed again when SIGINT, SIGTERM or
// SIGHUP ends the process in the middle of the write (signal_cleanup.h). Returns the
// system's reason for a failure (message() gives its words, "No space left on device"),
// an empty error_code on success.
std::error_code ReplaceFileWhole(const std::string& path, std::string_view bytes,
                                 TemporaryFile temporary = TemporaryFile::kUnnamedWherePossible);

}  // namespace pelmora
