// SPDX-License-Identifier: MIT
#include "backends/posix/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace pelmora {

std::variant<MappedFile, std::string> MappedFile::Open(const std::string& path, std::size_t maxBytes) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::string(std::strerror(errno));
    if (!S_ISREG(status.st_mode)) return std::string("not a regular file");
    // O_NONBLOCK: a named pipe put there meanwhile is not waited on, but found by fstat.
    const int file = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file < 0) return std::string(std::strerror(errno));
    std::string failure;
    void* data = MAP_FAILED;
    if (::fstat(file, &status) != 0) failure = std::strerror(errno);
    else if (!S_ISREG(status.st_mode)) failure = "not a regular file";
    else if (status.st_size <= 0) failure = "an empty file";
    else if (static_cast<std::uint64_t>(status.st_size) > maxBytes) failure = "larger than any such file";
    else
        data =
            ::mmap(nullptr, static_cast<std::size_t>(status.st_size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, file, 0);
    if (failure.empty() && data == MAP_FAILED) failure = std::strerror(errno);
    ::close(file);
    if (!failure.empty()) return failure;
    return MappedFile(static_cast<const unsigned char*>(data), static_cast<std::size_t>(status.st_size));
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    if (this != &other) {
        if (data_) ::munmap(const_cast<unsigned char*>(data_), size_);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

MappedFile::~MappedFile() {
    if (data_) ::munmap(const_cast<unsigned char*>(data_), size_);
}

}  // namespace pelmora
