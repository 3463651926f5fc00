// SPDX-License-Identifier: MIT
// Opening a regular file and reading its start by POSIX calls, for both Linux programs. Whatever is
// not a regular file (a folder, a device, a named pipe or socket) is refused by what it is,
// never read and never waited on: a named pipe without a writer would block a plain open.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file_system.h"

namespace pelmora {

// A regular file opened for reading, closed with the object, or why it was not: Problem()
// and Reason() as ReadRegularFileStart gives them.
class OpenRegularFile {
public:
    explicit OpenRegularFile(const std::string& path);
    ~OpenRegularFile();
    OpenRegularFile(const OpenRegularFile&) = delete;
    OpenRegularFile& operator=(const OpenRegularFile&) = delete;

    int Descriptor() const { return fd_; }  // to be used only when Problem() is kNone
    std::uint64_t Size() const { return size_; }
    FileStart::Problem Problem() const { return problem_; }
    const std::string& Reason() const { return reason_; }

private:
    void Refuse(FileStart::Problem problem, std::string reason);
    // Whether mode is a regular file's; refuses it by what it is when not.
    bool Regular(unsigned mode);

    int fd_ = -1;
    std::uint64_t size_ = 0;
    FileStart::Problem problem_ = FileStart::Problem::kNone;
    std::string reason_;
};

FileStart ReadRegularFileStart(const std::string& path, std::uint64_t maxBytes);

}  // namespace pelmora
