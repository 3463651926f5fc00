// SPDX-License-Identifier: MIT
// Another program that creates top-level windows and destroys them again as fast as it
// can, on a thread with a connection of its own, so that windows vanish in the middle of
// whatever the test reads meanwhile.
#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "managed_desktop.h"

namespace pelmora::testing {

class ChurningClient {
public:
    // Starts at once. Its windows cover the rectangle given, in turn framed ones (mapped, so
    // that the window manager frames them and takes the frames down again), unframed ones
    // (override-redirect, mapped) and unmapped ones; at most seven live at a time. Each is
    // titled TitleOf(its id) and of class "Churn".
    ChurningClient(const std::string& display, int x, int y, int width, int height);
    // Stop().
    ~ChurningClient();
    ChurningClient(const ChurningClient&) = delete;
    ChurningClient& operator=(const ChurningClient&) = delete;

    // Ends the churn, destroys the windows left and waits until their frames are gone.
    void Stop();
    // How many windows it has made so far.
    int Created() const { return created_; }
    static std::string TitleOf(XWindowId window) { return "churn " + std::to_string(window); }

private:
    std::atomic<bool> stop_{false};
    std::atomic<int> created_{0};
    std::thread thread_;
};

}  // namespace pelmora::testing
