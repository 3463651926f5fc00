// Scripted shell and file system for tests, and a bundle of all fakes as a Platform.
#pragma once

#include <string>
#include <vector>

#include "platform/fake/fake_desktop.h"
#include "platform/platform.h"

namespace pelmora {

class FakeShell : public Shell {
public:
    void Open(const std::string& link) override { opened.push_back(link); }
    std::vector<std::string> opened;
};

class FakeFileSystem : public FileSystem {
public:
    std::string ExecutableDirectory() override { return executableDirectory; }
    char Separator() override { return separator; }
    std::string executableDirectory = "/opt/pelmora";
    char separator = '/';
};

struct FakePlatform {
    FakeDesktop desktop;
    FakeShell shell;
    FakeFileSystem files;
    Platform Services() { return {desktop, shell, files}; }
};

}  // namespace pelmora
