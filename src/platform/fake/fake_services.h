// Scripted shell for tests, and a bundle of all fakes as a Platform.
#pragma once

#include <string>
#include <vector>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_file_system.h"
#include "platform/platform.h"

namespace pelmora {

class FakeShell : public Shell {
public:
    void Open(const std::string& link) override { opened.push_back(link); }
    std::vector<std::string> opened;
};

struct FakePlatform {
    FakeDesktop desktop;
    FakeShell shell;
    FakeFileSystem files;
    Platform Services() { return {desktop, shell, files}; }
};

}  // namespace pelmora
