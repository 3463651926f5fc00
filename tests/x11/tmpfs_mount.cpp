// SPDX-License-Identifier: MIT
#include "tmpfs_mount.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace pelmora::testing {

namespace {
std::string Failure(const std::string& what, const std::filesystem::path& folder) {
    return what + " " + folder.string() + ": " + std::strerror(errno);
}
}  // namespace

TmpfsMount::TmpfsMount(std::filesystem::path folder, std::uint64_t bytes) : folder_(std::move(folder)) {
    const std::string options = "size=" + std::to_string(bytes);
    mounted_ = mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) == 0;
    if (!mounted_) error_ = Failure("mounting a tmpfs on", folder_);
}

TmpfsMount::~TmpfsMount() {
    if (mounted_ && umount2(folder_.c_str(), 0) != 0) umount2(folder_.c_str(), MNT_DETACH);
}

bool TmpfsMount::MakeReadOnly() {
    if (!mounted_) return false;
    if (mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0) return true;
    error_ = Failure("remounting read-only", folder_);
    return false;
}

bool TmpfsMount::Fill(const std::string& name) {
    const int file = open((folder_ / name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (file < 0) {
        error_ = Failure("creating the filler in", folder_);
        return false;
    }
    // The last write that fits only in part returns what it wrote; the next one fails.
    const std::vector<char> block(std::size_t{64} * 1024, 'f');
    while (write(file, block.data(), block.size()) > 0) {
    }
    const bool full = errno == ENOSPC;
    if (!full) error_ = Failure("filling", folder_);
    close(file);
    return full;
}

std::uint64_t TmpfsMount::FreeBytes() const {
    struct statvfs status {};
    if (statvfs(folder_.c_str(), &status) != 0) return 0;
    return static_cast<std::uint64_t>(status.f_bavail) * status.f_frsize;
}

std::uint64_t TmpfsMount::TotalBytes() const {
    struct statvfs status {};
    if (statvfs(folder_.c_str(), &status) != 0) return 0;
    return static_cast<std::uint64_t>(status.f_blocks) * status.f_frsize;
}

}  // namespace pelmora::testing
