// SPDX-License-Identifier: MIT
// A small file system of the test's own mounted over a folder (tmpfs), for the faults of a
// user's disk: a disk full to the last byte, a folder that cannot be written at all (a
// read-only mount stops root too, unlike permission bits). Mounting needs root.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace pelmora::testing {

class TmpfsMount {
public:
    // Mounts a tmpfs of bytes (rounded up to whole pages) over folder, which must exist;
    // what the folder held is hidden until the mount goes. Error() tells when it failed.
    TmpfsMount(std::filesystem::path folder, std::uint64_t bytes);
    // Unmounts; a mount still in use (a process running from it) is detached.
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    // "" while mounted, else what failed.
    const std::string& Error() const { return error_; }
    // Makes the mount read-only; false (and Error() says why) when that failed.
    bool MakeReadOnly();
    // Fills the file system to its last block with the file folder/name; false when the
    // file could not be written up to "no space left".
    bool Fill(const std::string& name);
    // The room left and the whole room, in bytes.
    std::uint64_t FreeBytes() const;
    std::uint64_t TotalBytes() const;

private:
    std::filesystem::path folder_;
    std::string error_;
    bool mounted_ = false;
};

}  // namespace pelmora::testing
