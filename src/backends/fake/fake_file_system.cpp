// SPDX-License-Identifier: MIT
#include "backends/fake/fake_file_system.h"

namespace pelmora {

bool FakeFileSystem::FileExists(const std::string& path) {
    return contents.contains(path) && !hiddenFiles.contains(path);
}

FileStart FakeFileSystem::ReadFileStart(const std::string& path, std::uint64_t maxBytes) {
    const auto file = contents.find(path);
    if (file == contents.end())
        return {
            FileStart::Problem::kNotAFile, {}, 0, folders.contains(path) ? "a folder" : "No such file or directory"};
    if (unreadableFiles.contains(path)) return {FileStart::Problem::kUnreadable, {}, 0, "Permission denied"};
    const auto claimed = claimedSizes.find(path);
    return {FileStart::Problem::kNone,
            file->second.substr(0, maxBytes),
            claimed != claimedSizes.end() ? claimed->second : file->second.size(),
            {}};
}

std::optional<std::string> FakeFileSystem::ReadFile(const std::string& path) {
    const auto file = contents.find(path);
    if (file == contents.end() || unreadableFiles.contains(path)) return std::nullopt;
    return file->second;
}

namespace {
std::string FolderOf(const std::string& path, char separator) {
    const auto cut = path.find_last_of(separator);
    return cut == std::string::npos ? std::string() : cut == 0 ? std::string(1, separator) : path.substr(0, cut);
}
}  // namespace

bool FakeFileSystem::CreateFolder(const std::string& path) {
    const std::string parent = FolderOf(path, separator);
    if (!folders.contains(parent) || EntryExists(path) || unwritableDirectories.contains(parent)) return false;
    folders.insert(path);
    return true;
}

bool FakeFileSystem::WriteFileWhole(const std::string& path, const std::string& bytes) {
    const std::string folder = FolderOf(path, separator);
    if (failWrites || readOnlyFiles.contains(path) || unwritableDirectories.contains(folder)) return false;
    contents[path] = bytes;
    return true;
}

std::string FakeFileSystem::ShortPath(const std::string& path) {
    const auto alias = shortPaths.find(path);
    return alias == shortPaths.end() ? path : alias->second;
}

}  // namespace pelmora
