// Files and folders, with paths in the platform's own notation.
#pragma once

#include <string>

namespace pelmora {

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // The executable's directory without a trailing separator (except for a root).
    virtual std::string ExecutableDirectory() = 0;
    virtual char Separator() = 0;
};

}  // namespace pelmora
