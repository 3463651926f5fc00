// SPDX-License-Identifier: MIT
// Reading a bitmap file from a path in two steps: its headers first, refused by them before a
// pixel is read (a picture too large, rows past the file's end, not a bitmap at all), then
// only the bytes the headers promise. A huge file, a device that never ends or a file whose
// headers lie costs no more than its first kBitmapHeadBytes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/surface.h"

namespace pelmora {

// A picture read from a file, or why not.
struct LoadedBitmap {
    enum class Problem {
        kNone,
        kNotAFile,    // FileStart's: missing, a folder, a device, a named pipe
        kUnreadable,  // FileStart's: cannot be opened or read
        kTooLarge,    // more pixels than allowed, or more bytes than such a picture needs
        kNotReadable  // read, but refused as a bitmap (error and englishError say why)
    };
    std::optional<Surface> picture;
    Problem problem = Problem::kNone;
    std::string error;         // kNotReadable: in the window's words (Chinese)
    std::string englishError;  // the same in English; for kNotAFile and kUnreadable the system's words
};

// readStart(n) reads up to n bytes from the start of the file (FileSystem::ReadFileStart).
// A picture of more than maxPixels pixels is refused as too large, from its headers.
LoadedBitmap LoadBitmapFile(const std::function<FileStart(std::uint64_t maxBytes)>& readStart, std::int64_t maxPixels);

}  // namespace pelmora
