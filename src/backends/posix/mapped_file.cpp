// SPDX-License-Identifier: MIT
#include "backends/posix/mapped_file.h"

#include <sys/mman.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "backends/posix/regular_file.h"

namespace pelmora {

std::variant<MappedFile, std::string> MappedFile::Open(const std::string& path, std::size_t maxBytes) {
    const OpenRegularFile file(path);
    if (file.Problem() != FileStart::Problem::kNone) return file.Reason();
    if (file.Size() == 0) return std::string("an empty file");
    if (file.Size() > maxBytes) return std::string("larger than any such file");
    const auto size = static_cast<std::size_t>(file.Size());
    void* data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, file.Descriptor(), 0);
    if (data == MAP_FAILED) return std::string(std::strerror(errno));
    return MappedFile(static_cast<const unsigned char*>(data), size);
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
