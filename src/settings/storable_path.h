// SPDX-License-Identifier: MIT
// Paths kept in the settings file, whose text is in the platform's encoding: a name that
// encoding cannot hold would read back as a folder that does not exist.
#pragma once

#include <optional>
#include <string>

namespace pelmora {

class FileSystem;
class TextEncoding;

// The form of path that reads back from the encoding as the same place: path itself when
// the encoding holds every character of it, else its short (8.3) form when the encoding
// holds that; none when neither does (a folder that does not exist yet, a Windows volume
// without short names).
std::optional<std::string> StorablePath(FileSystem& files, const TextEncoding& encoding, const std::string& path);

}  // namespace pelmora
