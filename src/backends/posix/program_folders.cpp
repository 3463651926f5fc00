// SPDX-License-Identifier: MIT
#include "backends/posix/program_folders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace pelmora {

namespace {
std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// path without "." and ".." steps and without doubled or trailing slashes; "/" for "".
std::string CleanPath(const std::string& path) {
    if (path.empty()) return "/";
    std::string clean = std::filesystem::path(path).lexically_normal().string();
    if (clean.size() > 1 && clean.back() == '/') clean.pop_back();
    return clean;
}
}  // namespace

std::string ExecutableFolder() {
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return {};
        if (static_cast<std::size_t>(length) < buffer.size()) {
            const std::string executable(buffer.data(), static_cast<std::size_t>(length));
            const std::size_t slash = executable.rfind('/');
            if (slash == std::string::npos) return {};
            return slash == 0 ? "/" : executable.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);  // cut short: try a larger buffer
    }
}

std::string UserConfigFolder() {
    std::string folder = Environment("XDG_CONFIG_HOME");
    if (folder.empty()) folder = CleanPath(Environment("HOME")) + "/.config";
    return folder + "/Pelmora";
}

bool InstalledUnderPrefix(const std::string& executableFolder) {
    const std::filesystem::path bin = std::filesystem::path(CleanPath(executableFolder));
    if (bin.filename() != "bin") return false;
    return RegularFileAt((bin / "../share/applications/" PELMORA_APP_ID ".desktop").string());
}

bool RegularFileAt(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

bool FolderTakesNewFiles(const std::string& folder) {
    if (folder.empty()) return false;
    std::string probe = folder + "/pelmora-probe-XXXXXX.tmp";
    const int file = ::mkostemps(probe.data(), 4, O_CLOEXEC);
    if (file < 0) return false;
    ::unlink(probe.c_str());
    ::close(file);
    return true;
}

bool RegularFileRefusesWrites(const std::string& path) {
    if (!RegularFileAt(path)) return false;
    // Non-blocking, so that a named pipe put there meanwhile is not waited on.
    const int file = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file < 0) return true;
    ::close(file);
    return false;
}

}  // namespace pelmora
