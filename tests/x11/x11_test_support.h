// SPDX-License-Identifier: MIT
// Helpers for tests against the real X server: shell commands such as xdotool, the
// program started as a child process from a private copy, and bounded waits.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include <sys/types.h>

using Display = struct _XDisplay;  // NOLINT(bugprone-reserved-identifier): Xlib's own name

namespace pelmora::testing {

// Runs a shell command and returns what it printed on standard output.
std::string Shell(const std::string& command);

// The whole file's bytes; "" when it cannot be read.
std::string ReadWhole(const std::filesystem::path& path);

// Polls condition until it holds or the time is up; true if it held.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(10));

// The program, copied into a fresh directory of its own (it keeps its settings beside
// the executable) and started there on the current display.
class ProgramUnderTest {
public:
    ProgramUnderTest();
    ~ProgramUnderTest();
    const std::filesystem::path& Directory() const { return directory_; }
    // Starts the program on the display named (the current one when empty), in an X11
    // session whatever the tests run in, with environment's variables set on top.
    void Start(const std::string& display = "");
    std::map<std::string, std::string> environment;
    // Waits for the process to end; true if it ended by itself within limit.
    bool EndsWithin(std::chrono::milliseconds limit);
    // The X id of the program's main window on display (the current one when empty), 0
    // while it has none.
    unsigned long FindWindow(const std::string& display = "") const;
    // Sends a signal; then waits up to limit for the process to end. True if it ended
    // by itself with exit status 0; false when no process of the program is left to signal.
    bool EndsCleanlyAfter(int signal, std::chrono::milliseconds limit);
    bool Running();
    // How the last process ended, as waitpid reports it (WIFEXITED, WIFSIGNALED ...);
    // empty while it runs.
    std::optional<int> EndStatus() const { return endStatus_; }
    // The process id from its start until its end is seen, -1 otherwise.
    pid_t Pid() const { return pid_; }

private:
    std::filesystem::path directory_;
    pid_t pid_ = -1;
    std::optional<int> endStatus_;
};

// An unmapped override-redirect window (no frame) of display's client at left, top whose
// background shows colourAt(x, y) (0x00BBGGRR) at each of its pixels; its X id.
unsigned long CreatePaintedWindow(::Display* display, int left, int top, int width, int height,
                                  const std::function<std::int32_t(int x, int y)>& colourAt);

// A window of another client, without a frame, whose pixel (x, y) has a colour of its own.
class PatternWindow {
public:
    PatternWindow(int left, int top, int width, int height);
    ~PatternWindow();
    PatternWindow(const PatternWindow&) = delete;
    PatternWindow& operator=(const PatternWindow&) = delete;
    // The colour value (0x00BBGGRR) shown at (x, y) of the window.
    static std::int32_t ColourAt(int x, int y) { return (x * 6) | (y * 6) << 8 | 0x80 << 16; }

private:
    ::Display* display_;
};

// An Xvfb server of the test's own, for tests that end the server under the program or
// need a screen of their own: screen is its geometry "WxHxDEPTH" (Xvfb's default when empty).
class PrivateXServer {
public:
    explicit PrivateXServer(const std::string& screen = "");
    ~PrivateXServer() { Stop(); }
    const std::string& Display() const { return display_; }
    void Stop();

private:
    pid_t pid_ = -1;
    std::string display_;
};

}  // namespace pelmora::testing
