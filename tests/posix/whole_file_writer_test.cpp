// SPDX-License-Identifier: MIT
// The whole-file writer on real files in a temporary folder, ended by a signal in the middle
// of a large write in a child process.
#include "backends/posix/whole_file_writer.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace pelmora {
namespace {

namespace fs = std::filesystem;

constexpr off_t kLarge = 64 << 20;  // long enough to write that a signal lands in the middle

class WholeFileWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string name = (fs::temp_directory_path() / "pelmora-writer-XXXXXX").string();
        ASSERT_NE(::mkdtemp(name.data()), nullptr);
        folder = fs::canonical(name);
        target = folder / "snap.bmp";
        std::ofstream(target) << "old";
    }
    void TearDown() override { fs::remove_all(folder); }

    std::set<std::string> Entries() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
        return names;
    }
    std::string Contents() const {
        std::ifstream file(target);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    // A child writes kLarge bytes over the old target and gets signal once a file it has open
    // in the folder is less than half written; tried again where the child was not seen in
    // time (a busy machine). Returns the child's wait status.
    int EndMidWrite(int signal, TemporaryFile temporary) const {
        static const std::string bytes(kLarge, 'x');  // made once, before the fork
        int status = 0;
        for (int attempt = 0; attempt < 5 && !WIFSIGNALED(status); ++attempt) {
            std::ofstream(target) << "old";
            const pid_t child = ::fork();
            if (child == 0) _exit(ReplaceFileWhole(target, bytes, temporary) ? 1 : 0);
            while (::waitpid(child, &status, WNOHANG) == 0) {
                if (HalfWritten(child)) {
                    ::kill(child, signal);
                    ::waitpid(child, &status, 0);
                    break;
                }
                ::usleep(1000);
            }
        }
        return status;
    }
    bool HalfWritten(pid_t child) const {
        std::error_code error;
        const fs::path fds = "/proc/" + std::to_string(child) + "/fd";
        for (fs::directory_iterator fd(fds, error), end; !error && fd != end; fd.increment(error)) {
            struct stat file {};
            if (fs::read_symlink(fd->path(), error).parent_path() == folder && ::stat(fd->path().c_str(), &file) == 0 &&
                file.st_size < kLarge / 2)
                return true;
        }
        return false;
    }

    fs::path folder;
    fs::path target;
};

// Both ways keep the old file's permission bits, write through a symbolic link and tell why
// a write failed.
TEST_F(WholeFileWriterTest, ReplacedFileKeepsItsModeAndAFailureItsReason) {
    fs::create_symlink("snap.bmp", folder / "link.bmp");
    for (const TemporaryFile temporary : {TemporaryFile::kUnnamedWherePossible, TemporaryFile::kNamed}) {
        fs::permissions(target, fs::perms(0640));
        ASSERT_FALSE(ReplaceFileWhole(folder / "link.bmp", "new", temporary));
        EXPECT_EQ(Contents(), "new");
        EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
        EXPECT_TRUE(fs::is_symlink(folder / "link.bmp"));
        EXPECT_EQ(ReplaceFileWhole(folder / "missing" / "a.bmp", "x", temporary).message(),
                  "No such file or directory");
        EXPECT_EQ(ReplaceFileWhole(folder, "x", temporary).message(), "Is a directory");
        EXPECT_EQ(Entries(), (std::set<std::string>{"link.bmp", "snap.bmp"}));
    }
}

TEST_F(WholeFileWriterTest, KilledWriterLeavesOnlyTheOldFile) {
    const int probe = ::open(folder.c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (probe < 0) GTEST_SKIP() << "no unnamed files on this file system";
    ::close(probe);
    const int status = EndMidWrite(SIGKILL, TemporaryFile::kUnnamedWherePossible);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the write ended before the signal";
    EXPECT_EQ(Entries(), std::set<std::string>{"snap.bmp"});
    EXPECT_EQ(Contents(), "old");
}

// Where the file system has no unnamed files: the named one goes again when a signal ends
// the process, which ends as the signal's default would, 128+n to a shell.
TEST_F(WholeFileWriterTest, NamedTemporaryFileIsRemovedWhenASignalEndsTheWrite) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        const int status = EndMidWrite(signal, TemporaryFile::kNamed);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "ended otherwise: " << status;
        EXPECT_EQ(Entries(), std::set<std::string>{"snap.bmp"});
        EXPECT_EQ(Contents(), "old");
    }
}

}  // namespace
}  // namespace pelmora
