// SPDX-License-Identifier: MIT
#include "settings/storable_path.h"

#include "platform/file_system.h"
#include "platform/text_encoding.h"

namespace pelmora {

std::optional<std::string> StorablePath(FileSystem& files, const TextEncoding& encoding, const std::string& path) {
    // A character the encoding lacks becomes its default character, or a look-alike
    // ("ā" as "a"): only the way there and back tells.
    const auto survives = [&](const std::string& text) { return encoding.ToUtf8(encoding.FromUtf8(text)) == text; };
    if (survives(path)) return path;
    const std::string shortPath = files.ShortPath(path);
    if (survives(shortPath)) return shortPath;
    return std::nullopt;
}

}  // namespace pelmora
