// The platform services that Qt provides the same way on every system.
#pragma once

#include "platform/file_system.h"
#include "platform/shell.h"

namespace pelmora {

class QtShell : public Shell {
public:
    void Open(const std::string& link) override;
};

class QtFileSystem : public FileSystem {
public:
    std::string ExecutableDirectory() override;
    char Separator() override;
};

}  // namespace pelmora
