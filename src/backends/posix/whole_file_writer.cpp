// SPDX-License-Identifier: MIT
#include "backends/posix/whole_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <random>

#include "backends/posix/signal_cleanup.h"

namespace pelmora {

namespace {
constexpr int kNameAttempts = 16;

std::error_code LastError() { return {errno, std::system_category()}; }

// The file a write replaces, and the permission bits it had.
struct Target {
    std::string path;
    std::optional<mode_t> mode;  // none where no file is there yet
};

// Follows a symbolic link, as an editor saves through one. A folder and a file the user may
// not write are refused before anything is written.
std::error_code FindTarget(const std::string& path, Target& target) {
    target.path = path;
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) return errno == ENOENT ? std::error_code() : LastError();
    if (S_ISLNK(status.st_mode)) {
        std::error_code error;
        target.path = std::filesystem::weakly_canonical(path, error).string();
        if (error) return error;
        if (::stat(target.path.c_str(), &status) != 0) return errno == ENOENT ? std::error_code() : LastError();
    }
    if (S_ISDIR(status.st_mode)) return {EISDIR, std::system_category()};
    if (::faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0) return LastError();
    target.mode = status.st_mode & 0777;
    return {};
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string TemporaryName(const std::string& path) {
    std::random_device random;
    return path + ".partial-" + std::to_string(random());
}

// The bytes into the open file, with the old file's permission bits, and onto the disk: a
// disk may report a failed write only when it is synced.
std::error_code Fill(int fd, const Target& target, std::string_view bytes) {
    if (target.mode && ::fchmod(fd, *target.mode) != 0) return LastError();
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return written < 0 ? LastError() : std::error_code(ENOSPC, std::system_category());
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return ::fsync(fd) == 0 ? std::error_code() : LastError();
}

std::error_code RenameOver(const std::string& temporary, const std::string& target) {
    if (::rename(temporary.c_str(), target.c_str()) == 0) return {};
    const std::error_code error = LastError();
    ::unlink(temporary.c_str());
    return error;
}

// Gives the unnamed file behind fd a name. Naming the descriptor itself takes a privilege
// (CAP_DAC_READ_SEARCH); its entry under /proc does not.
bool Link(int fd, const std::string& name) {
    if (::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return true;
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// The whole file takes the target's name: at once where no file has it, else under a
// temporary name that is then renamed over the old file, since a link never replaces a name.
// The signals wait until both steps are done, so only SIGKILL or a crash in the microseconds
// between them can leave the temporary name behind, and then with the whole file under it.
std::error_code NameWholeFile(int fd, const Target& target) {
    const HeldSignals held;
    if (!target.mode) {
        if (Link(fd, target.path)) return {};
        if (errno != EEXIST) return LastError();
    }
    for (int attempt = 1;; ++attempt) {
        const std::string temporary = TemporaryName(target.path);
        if (Link(fd, temporary)) return RenameOver(temporary, target.path);
        if (errno != EEXIST || attempt == kNameAttempts) return LastError();
    }
}

// Through a file without a name in the target's folder, which nothing can leave behind;
// nullopt where the folder's file system has no such files (some network and old ones).
std::optional<std::error_code> ReplaceThroughUnnamedFile(const Target& target, std::string_view bytes) {
    const int fd = ::open(FolderOf(target.path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) return std::nullopt;
    if (fd < 0) return LastError();
    std::error_code error = Fill(fd, target, bytes);
    if (!error) error = NameWholeFile(fd, target);
    ::close(fd);
    return error;
}

// Through a named file beside the target, removed again on failure and on SIGINT, SIGTERM and
// SIGHUP; only SIGKILL or a crash while it is written leave it behind.
std::error_code ReplaceThroughNamedFile(const Target& target, std::string_view bytes) {
    RemovedOnSignal cleanup;
    std::string temporary;
    int fd = -1;
    for (int attempt = 1; fd < 0; ++attempt) {
        temporary = TemporaryName(target.path);
        const HeldSignals held;
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) cleanup.Track(temporary);
        if (fd < 0 && (errno != EEXIST || attempt == kNameAttempts)) return LastError();
    }
    std::error_code error = Fill(fd, target, bytes);
    if (::close(fd) != 0 && !error) error = LastError();
    const HeldSignals held;
    cleanup.Forget();
    if (!error) return RenameOver(temporary, target.path);
    ::unlink(temporary.c_str());
    return error;
}
}  // namespace

std::error_code ReplaceFileWhole(const std::string& path, std::string_view bytes, TemporaryFile temporary) {
    Target target;
    if (const std::error_code error = FindTarget(path, target)) return error;
    if (temporary == TemporaryFile::kUnnamedWherePossible)
        if (const auto done = ReplaceThroughUnnamedFile(target, bytes)) return *done;
    return ReplaceThroughNamedFile(target, bytes);
}

}  // namespace pelmora
