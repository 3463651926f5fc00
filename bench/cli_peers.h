// SPDX-License-Identifier: MIT
// What the benchmarks of pelmora-cli against its peers share (scripts/bench runs them on a
// private 1920 x 1080 Xvfb with openbox): whole processes timed from their spawn until they
// have exited and their output has been read, the photograph-like screen shown over the
// whole display, bitmap files in the run's folder, and the summary that sets the median
// figures side by side against their targets.
#pragma once

#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace pelmora {

// ---- Processes ---------------------------------------------------------------------------

struct Finished {
    int status = -1;     // the exit status; -1 when it could not be started or did not exit
    std::string out;     // everything it wrote to standard output
    double seconds = 0;  // from just before the spawn until the wait returned
};

Finished Run(const std::vector<std::string>& command);
std::vector<std::string> Lines(const std::string& text);

const std::string kCli = PELMORA_CLI;
// Debian's python3-opencv serves the system's interpreter.
const std::string kPython = "/usr/bin/python3";

// "what printed "out"": a check's complaint.
std::string Unexpected(const std::string& what, const std::string& out);

// ---- Figures -----------------------------------------------------------------------------

double Median(std::vector<double> values);
// Keeps a repetition's times (ms) under figure for the summary; its median is the counter
// median_ms.
void Record(benchmark::State& state, const std::string& figure, const std::vector<double>& milliseconds);
// Runs command once per iteration, each run the iteration's time. check tells what is
// wrong with a run that exited with 0 (nothing when it is right).
void TimeRuns(benchmark::State& state, const std::string& figure, const std::vector<std::string>& command,
              const std::function<std::string(const std::string& out)>& check);

// Runs bench/python_timings.py KIND with arguments, which times as many calls inside one
// Python process as the benchmark has iterations, each call one iteration's time. check
// tells what is wrong with the last call's answer (nothing when it is right).
void TimePythonCalls(benchmark::State& state, const std::string& figure, const std::vector<std::string>& arguments,
                     const std::function<std::string(const std::string& answer)>& check);

// One target: pelmora-cli's median at most limitMs, and at least factor times faster than
// the peer's (no peer: no factor).
struct Target {
    const char* what;
    const char* ours;
    double limitMs;
    const char* peer;
    const char* peerName;
    double factor;
    // A figure whose median the limit is added to (the portal's own time), or none.
    const char* limitAbove = nullptr;
};

// Runs the benchmarks the command line selects, prints the summary against targets and
// removes the run's folder: a benchmark program's main.
int RunBenchmarks(int argc, char** argv, std::span<const Target> targets);

// ---- Screens and files -------------------------------------------------------------------

inline constexpr int kScreenWidth = 1920, kScreenHeight = 1080;

// The photograph-like screen, the same in every run.
const Surface& PhotoScreen();
// Shows image over the whole screen, or marks the benchmark failed.
bool Showing(benchmark::State& state, const Surface& image);
// Shows image over the whole screen without reading it back (an X server under Wayland
// gives no program the root window's pixels): what is wrong, nothing when it is shown.
std::string ShowWithoutCheck(const Surface& image);

// The run's folder, removed at its end.
const std::filesystem::path& Folder();
// The picture written as a 24-bit bitmap file named name in the run's folder.
std::string Written(const std::string& name, const Surface& picture);

}  // namespace pelmora
