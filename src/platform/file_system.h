// SPDX-License-Identifier: MIT
// Files and folders, with paths in the platform's own notation (UTF-8 inside the program).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/program_places.h"

namespace pelmora {

// The first bytes of a regular file, with its size; or why it cannot be read.
struct FileStart {
    enum class Problem {
        kNone,
        kNotAFile,   // missing, a folder, a device or a named pipe
        kUnreadable  // a regular file that cannot be opened or read
    };
    Problem problem = Problem::kNone;
    std::string bytes;       // at most the count asked for
    std::uint64_t size = 0;  // the whole file's size
    std::string reason;      // the system's words for the problem, in English ("a folder", "Permission denied")
};

// The places of ProgramPlaces, with UserConfigDirectory created when missing.
class FileSystem : public ProgramPlaces {
public:
    // The whole file as bytes; empty when it cannot be read (missing, denied, a folder).
    virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
    // Up to maxBytes from the start of the regular file at path, and its size. Anything else
    // is refused without being read: a folder, a device, a named pipe (never waited on).
    virtual FileStart ReadFileStart(const std::string& path, std::uint64_t maxBytes) = 0;
    // Replaces the file as a whole: the bytes go to a temporary file beside it, which is then
    // renamed over the target, so an interrupted write never leaves a torn file.
    // False when the file could not be written; the old contents then stay.
    virtual bool WriteFileWhole(const std::string& path, const std::string& bytes) = 0;
    // Something, a file or a folder, is at path.
    virtual bool EntryExists(const std::string& path) = 0;
    // Creates the folder at path (its parent must exist); true when it was made.
    virtual bool CreateFolder(const std::string& path) = 0;
    // The existing path with each long name in it replaced by its short (8.3) alias, as
    // programs that know only the ANSI code page reach it; path itself where there is
    // none: on Linux, on a Windows volume that keeps no short names, for a missing path.
    virtual std::string ShortPath(const std::string& path) = 0;
    // The user's own pictures folder (the XDG pictures folder on Linux, Pictures on Windows).
    virtual std::string UserPicturesDirectory() = 0;
};

}  // namespace pelmora
