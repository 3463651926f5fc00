// SPDX-License-Identifier: MIT
// The terminating signals a user sends from a shell (SIGINT, SIGTERM, SIGHUP) around a file
// that must not outlive the process: held back while the file takes or gives up its name,
// and made to remove it while it is being written.
#pragma once

#include <signal.h>

#include <string>

namespace pelmora {

// While it lives, each of the three signals whose action is the default one (ending the
// process) first removes the file registered by Track, then ends the process as its default
// would, so that a parent sees the signal (a shell's 128+n). A program that handles or
// ignores a signal itself keeps its own handling. One file at a time per process.
class RemovedOnSignal {
public:
    RemovedOnSignal();
    ~RemovedOnSignal();
    RemovedOnSignal(const RemovedOnSignal&) = delete;
    RemovedOnSignal& operator=(const RemovedOnSignal&) = delete;

    // The file that a signal removes from now on; call it with the signals held, right after
    // creating the file, and Forget once the file has its final name or is gone.
    void Track(const std::string& path);
    void Forget();

private:
    struct sigaction previous_[3]{};
    bool replaced_[3]{};
};

// Holds the three signals back in the calling thread while it lives; one that arrives
// meanwhile is acted on when it ends.
class HeldSignals {
public:
    HeldSignals();
    ~HeldSignals();
    HeldSignals(const HeldSignals&) = delete;
    HeldSignals& operator=(const HeldSignals&) = delete;

private:
    sigset_t previous_{};
};

}  // namespace pelmora
