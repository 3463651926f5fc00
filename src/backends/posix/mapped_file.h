// SPDX-License-Identifier: MIT
// A regular file's bytes mapped into memory, read-only and all at once: a screenshot of
// several megabytes is looked at where the kernel already holds it, with no copy and no page
// fault per page (each of which costs microseconds in a virtual machine).
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <variant>

namespace pelmora {

class MappedFile {
public:
    // The file at path mapped whole, or the reason why not: what is not a regular file (a
    // folder, a named pipe) is refused unopened, by OpenRegularFile; an empty file or one
    // larger than maxBytes is refused too.
    static std::variant<MappedFile, std::string> Open(const std::string& path, std::size_t maxBytes);

    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    // Stays readable when the file is removed or replaced meanwhile.
    std::span<const unsigned char> Bytes() const { return {data_, size_}; }

private:
    MappedFile(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
    const unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace pelmora
