// SPDX-License-Identifier: MIT
#include "cli_process.h"

#include <csignal>
#include <cstdlib>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "x11_test_support.h"

namespace pelmora::testing {

namespace {
// A new empty file for one of the child's outputs; its path goes to path.
int OutputFile(std::string& path) {
    char pattern[] = "/tmp/pelmora-cli-output-XXXXXX";
    const int fd = mkstemp(pattern);
    path = pattern;
    return fd;
}
}  // namespace

CliProcess::CliProcess(const std::string& display, const std::vector<std::string>& args) {
    commandLine_ = "pelmora-cli";
    for (const std::string& arg : args) commandLine_ += " '" + arg + "'";
    const int out = OutputFile(outPath_);
    const int err = OutputFile(errPath_);
    std::vector<char*> argv{const_cast<char*>(PELMORA_CLI_EXECUTABLE)};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
        if (display.empty()) unsetenv("DISPLAY");
        else setenv("DISPLAY", display.c_str(), 1);
        unsetenv("WAYLAND_DISPLAY");
        const int nothing = open("/dev/null", O_RDONLY);
        dup2(nothing, STDIN_FILENO);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out);
    close(err);
}

CliProcess::~CliProcess() {
    if (Running()) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    unlink(outPath_.c_str());
    unlink(errPath_.c_str());
}

void CliProcess::Collect(int waitStatus) {
    ended_ = true;
    outcome_.ended = std::chrono::steady_clock::now();
    outcome_.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
    outcome_.out = ReadWhole(outPath_);
    outcome_.err = ReadWhole(errPath_);
}

bool CliProcess::Running() {
    if (ended_ || pid_ <= 0) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
    Collect(status);
    return false;
}

CliOutcome CliProcess::Wait(std::chrono::milliseconds limit) {
    // Looks every millisecond, so that the end is timed closely.
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (Running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (Running()) {
        kill(pid_, SIGKILL);
        int status = 0;
        waitpid(pid_, &status, 0);
        Collect(status);
    }
    return outcome_;
}

CliOutcome RunCli(const std::string& display, const std::vector<std::string>& args) {
    return CliProcess(display, args).Wait();
}

}  // namespace pelmora::testing
