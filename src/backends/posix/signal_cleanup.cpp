// SPDX-License-Identifier: MIT
#include "backends/posix/signal_cleanup.h"

#include <limits.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace pelmora {

namespace {
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The one file a signal removes. The path is written only while nothing is tracked, so the
// handler never reads it half written.
char trackedPath[PATH_MAX];
std::atomic<bool> tracked{false};
static_assert(std::atomic<bool>::is_always_lock_free, "read by a signal handler");

void RemoveAndEnd(int signal) {
    if (tracked.load()) ::unlink(trackedPath);
    ::signal(signal, SIG_DFL);
    ::raise(signal);  // held until the handler returns, then it ends the process
}

sigset_t TheSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kSignals) sigaddset(&set, signal);
    return set;
}
}  // namespace

RemovedOnSignal::RemovedOnSignal() {
    struct sigaction removing {};
    removing.sa_handler = RemoveAndEnd;
    removing.sa_mask = TheSignals();  // one signal's removal is not cut short by another
    for (int i = 0; i < 3; ++i) {
        const bool byDefault = sigaction(kSignals[i], nullptr, &previous_[i]) == 0 &&
                               !(previous_[i].sa_flags & SA_SIGINFO) && previous_[i].sa_handler == SIG_DFL;
        replaced_[i] = byDefault && sigaction(kSignals[i], &removing, nullptr) == 0;
    }
}

RemovedOnSignal::~RemovedOnSignal() {
    Forget();
    for (int i = 0; i < 3; ++i)
        if (replaced_[i]) sigaction(kSignals[i], &previous_[i], nullptr);
}

void RemovedOnSignal::Track(const std::string& path) {
    if (path.size() >= sizeof trackedPath) return;  // longer than any path the system opens
    std::memcpy(trackedPath, path.c_str(), path.size() + 1);
    tracked.store(true);
}

void RemovedOnSignal::Forget() { tracked.store(false); }

HeldSignals::HeldSignals() {
    const sigset_t set = TheSignals();
    pthread_sigmask(SIG_BLOCK, &set, &previous_);
}

HeldSignals::~HeldSignals() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

}  // namespace pelmora
