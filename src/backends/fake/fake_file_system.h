// SPDX-License-Identifier: MIT
// An in-memory file system for tests: files are a map from path to contents, and a test
// marks files hidden, unreadable or read-only, folders unwritable, gives paths short
// names, or makes every write fail.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/file_system.h"

namespace pelmora {

class FakeFileSystem : public FileSystem {
public:
    std::string ExecutableDirectory() override { return executableDirectory; }
    char Separator() override { return separator; }
    bool FileExists(const std::string& path) override;
    // A folder and a missing file are no file; claimedSizes stand in for the contents' sizes.
    FileStart ReadFileStart(const std::string& path, std::uint64_t maxBytes) override;
    std::optional<std::string> ReadFile(const std::string& path) override;
    // Fails, leaving the old contents, when writes fail, the file is read-only or its folder
    // is unwritable.
    bool WriteFileWhole(const std::string& path, const std::string& bytes) override;
    bool EntryExists(const std::string& path) override { return contents.contains(path) || folders.contains(path); }
    // Fails when the parent is not a folder here, something is at path already, or the
    // parent is unwritable.
    bool CreateFolder(const std::string& path) override;
    bool DirectoryWritable(const std::string& path) override { return !unwritableDirectories.contains(path); }
    bool FileReadOnly(const std::string& path) override {
        return contents.contains(path) && readOnlyFiles.contains(path);
    }
    std::string ShortPath(const std::string& path) override;
    bool InstalledForAllUsers() override { return installedForAllUsers; }
    std::string UserConfigDirectory() override { return userConfigDirectory; }
    std::string UserPicturesDirectory() override { return userPicturesDirectory; }

    std::string executableDirectory = "/opt/pelmora";
    std::string userConfigDirectory = "/home/user/.config/Pelmora";
    std::string userPicturesDirectory = "/home/user/Pictures";
    char separator = '/';
    std::map<std::string, std::string> contents;  // every file, by path
    std::set<std::string> folders{"/"};
    std::set<std::string> hiddenFiles;                  // present, but marked hidden or system
    std::set<std::string> unreadableFiles;              // present, but cannot be opened
    std::map<std::string, std::uint64_t> claimedSizes;  // sizes ReadFileStart reports instead
    std::set<std::string> readOnlyFiles;                // present, but cannot be written
    std::map<std::string, std::string> shortPaths;      // what ShortPath gives instead of a path
    std::set<std::string> unwritableDirectories;
    bool installedForAllUsers = false;
    bool failWrites = false;
};

}  // namespace pelmora
