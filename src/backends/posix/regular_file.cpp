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

FileStart Refused(FileStart::Problem problem, std::string reason) { return {problem, {}, 0, std::move(reason)}; }

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};
}  // namespace

FileStart ReadRegularFileStart(const std::string& path, std::uint64_t maxBytes) {
    // Not opened at all unless it is a regular file; the open itself does not wait (a pipe
    // put there meanwhile), and the file opened is checked again.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        const int error = errno;
        return Refused(error == EACCES ? FileStart::Problem::kUnreadable : FileStart::Problem::kNotAFile,
                       std::strerror(error));
    }
    if (!S_ISREG(status.st_mode)) return Refused(FileStart::Problem::kNotAFile, KindOf(status.st_mode));
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) return Refused(FileStart::Problem::kUnreadable, std::strerror(errno));
    if (::fstat(file.get(), &status) != 0) return Refused(FileStart::Problem::kUnreadable, std::strerror(errno));
    if (!S_ISREG(status.st_mode)) return Refused(FileStart::Problem::kNotAFile, KindOf(status.st_mode));

    FileStart start{FileStart::Problem::kNone, {}, static_cast<std::uint64_t>(status.st_size), {}};
    start.bytes.resize(static_cast<std::size_t>(std::min(maxBytes, start.size)));
    std::size_t done = 0;
    while (done < start.bytes.size()) {
        const ssize_t got = ::read(file.get(), start.bytes.data() + done, start.bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return Refused(FileStart::Problem::kUnreadable, std::strerror(errno));
        if (got == 0) break;  // the file has shrunk since
        done += static_cast<std::size_t>(got);
    }
    start.bytes.resize(done);
    return start;
}

}  // namespace pelmora
