// SPDX-License-Identifier: MIT
#include "backends/posix/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <utility>

namespace pelmora {

namespace {
// What a file that is not regular is, in the words of a message.
const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a named pipe";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    return "not a regular file";
}
}  // namespace

OpenRegularFile::OpenRegularFile(const std::string& path) {
    // Not opened at all unless it is a regular file; the open itself does not wait (a pipe
    // put there meanwhile), and the file opened is checked again.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        const int error = errno;
        Refuse(error == EACCES ? FileStart::Problem::kUnreadable : FileStart::Problem::kNotAFile, std::strerror(error));
        return;
    }
    if (!Regular(status.st_mode)) return;
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0 || ::fstat(fd_, &status) != 0) {
        Refuse(FileStart::Problem::kUnreadable, std::strerror(errno));
        return;
    }
    if (Regular(status.st_mode)) size_ = static_cast<std::uint64_t>(status.st_size);
}

bool OpenRegularFile::Regular(unsigned mode) {
    if (!S_ISREG(mode)) Refuse(FileStart::Problem::kNotAFile, KindOf(mode));
    return S_ISREG(mode);
}

void OpenRegularFile::Refuse(FileStart::Problem problem, std::string reason) {
    problem_ = problem;
    reason_ = std::move(reason);
}

OpenRegularFile::~OpenRegularFile() {
    if (fd_ >= 0) ::close(fd_);
}

FileStart ReadRegularFileStart(const std::string& path, std::uint64_t maxBytes) {
    const OpenRegularFile file(path);
    if (file.Problem() != FileStart::Problem::kNone) return {file.Problem(), {}, 0, file.Reason()};
    FileStart start{FileStart::Problem::kNone, {}, file.Size(), {}};
    start.bytes.resize(static_cast<std::size_t>(std::min(maxBytes, start.size)));
    std::size_t done = 0;
    while (done < start.bytes.size()) {
        const ssize_t got = ::read(file.Descriptor(), start.bytes.data() + done, start.bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return {FileStart::Problem::kUnreadable, {}, 0, std::strerror(errno)};
        if (got == 0) break;  // the file has shrunk since
        done += static_cast<std::size_t>(got);
    }
    start.bytes.resize(done);
    return start;
}

}  // namespace pelmora
