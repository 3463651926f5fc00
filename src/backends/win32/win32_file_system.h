// SPDX-License-Identifier: MIT
// Files and folders over the Unicode file functions: paths are UTF-8 inside the program
// and UTF-16 for Windows, so no name is lost to the ANSI code page.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace pelmora {

class Win32FileSystem : public FileSystem {
public:
    std::string ExecutableDirectory() override;  // from GetModuleFileName
    char Separator() override { return '\\'; }
    bool FileExists(const std::string& path) override;
    FileStart ReadFileStart(const std::string& path, std::uint64_t maxBytes) override;
    std::optional<std::string> ReadFile(const std::string& path) override;
    bool WriteFileWhole(const std::string& path, const std::string& bytes) override;
    bool EntryExists(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    bool DirectoryWritable(const std::string& path) override;
    bool FileReadOnly(const std::string& path) override;
    std::string ShortPath(const std::string& path) override;  // from GetShortPathName
    // Always false: pelmora.exe is unpacked from its archive into a folder the user chose,
    // and a read-only one is already told apart by DirectoryWritable.
    bool InstalledForAllUsers() override { return false; }
    std::string UserConfigDirectory() override;  // UserConfigPath, made when missing
    // %LOCALAPPDATA%\Pelmora, not made (pelmora-cli only reads there); the executable's
    // folder when the system names no local application data folder, as with UserConfigDirectory.
    std::string UserConfigPath();
    std::string UserPicturesDirectory() override;

    // Why the last WriteFileWhole failed, in the system's words ("Access denied"); "" after
    // one that succeeded.
    const std::string& LastWriteFailure() const { return lastWriteFailure_; }

private:
    std::string lastWriteFailure_;
};

}  // namespace pelmora
