// SPDX-License-Identifier: MIT
// pelmora-cli run as a script runs it: a child process with its arguments, on a display
// of the test's choosing or none, its standard output, standard error and exit status
// collected when it ends.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include <sys/types.h>

namespace pelmora::testing {

struct CliOutcome {
    int status = -1;  // the exit status; -1 when the process did not exit by itself
    std::string out, err;
    std::chrono::steady_clock::time_point ended;  // when the end was seen
};

class CliProcess {
public:
    // Starts pelmora-cli with args on display (":N"); an empty display leaves DISPLAY unset.
    CliProcess(const std::string& display, const std::vector<std::string>& args);
    // Kills the process when it still runs.
    ~CliProcess();
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    // Whether the process is still running; false once it ended (Wait then returns at once).
    bool Running();
    // Waits for the end, or kills the process once limit has passed (status -1 then).
    CliOutcome Wait(std::chrono::milliseconds limit = std::chrono::seconds(20));
    // The command line, for failure messages.
    const std::string& CommandLine() const { return commandLine_; }

private:
    void Collect(int waitStatus);

    pid_t pid_ = -1;
    std::string outPath_, errPath_, commandLine_;
    bool ended_ = false;
    CliOutcome outcome_;
};

// Runs pelmora-cli to its end.
CliOutcome RunCli(const std::string& display, const std::vector<std::string>& args);

}  // namespace pelmora::testing
