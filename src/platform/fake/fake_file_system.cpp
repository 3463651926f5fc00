#include "platform/fake/fake_file_system.h"

namespace pelmora {

bool FakeFileSystem::FileExists(const std::string& path) {
    return contents.contains(path) && !hiddenFiles.contains(path);
}

std::optional<std::string> FakeFileSystem::ReadFile(const std::string& path) {
    const auto file = contents.find(path);
    if (file == contents.end() || unreadableFiles.contains(path)) return std::nullopt;
    return file->second;
}

bool FakeFileSystem::WriteFileWhole(const std::string& path, const std::string& bytes) {
    const auto cut = path.find_last_of(separator);
    const std::string folder = cut == std::string::npos ? std::string() : path.substr(0, cut);
    if (failWrites || unwritableDirectories.contains(folder)) return false;
    contents[path] = bytes;
    return true;
}

}  // namespace pelmora
