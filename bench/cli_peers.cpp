// SPDX-License-Identifier: MIT
#include "cli_peers.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "capture/bitmap_file.h"
#include "sampling/colour_model.h"

extern char** environ;

namespace pelmora {

// ---- Processes ---------------------------------------------------------------------------

// Runs a program (looked up on PATH) with its standard output on a pipe that is read to
// the end, and waits for it.
Finished Run(const std::vector<std::string>& command) {
    Finished finished;
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return finished;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    std::vector<char*> argv;
    argv.reserve(command.size() + 1);
    for (const std::string& argument : command) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    if (spawned != 0) {
        close(ends[0]);
        return finished;
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = read(ends[0], buffer, sizeof buffer);
        if (got > 0) finished.out.append(buffer, static_cast<std::size_t>(got));
        else if (got == 0 || errno != EINTR) break;
    }
    close(ends[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    finished.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (WIFEXITED(status)) finished.status = WEXITSTATUS(status);
    return finished;
}

std::string Unexpected(const std::string& what, const std::string& out) {
    return what + " printed \"" + out.substr(0, 200) + "\"";
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

// ---- Figures -----------------------------------------------------------------------------

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The times of each figure of this run, in milliseconds, over every repetition, for the
// summary.
std::map<std::string, std::vector<double>>& Samples() {
    static std::map<std::string, std::vector<double>> samples;
    return samples;
}

// The counter median_ms: the median of this repetition's times.
void Record(benchmark::State& state, const std::string& figure, const std::vector<double>& milliseconds) {
    state.counters["median_ms"] = Median(milliseconds);
    std::vector<double>& all = Samples()[figure];
    all.insert(all.end(), milliseconds.begin(), milliseconds.end());
}

// Runs command once per iteration, each run the iteration's time. check tells what is
// wrong with a run that exited with 0 (nothing when it is right). The median run is the
// counter median_ms and the summary's figure.
void TimeRuns(benchmark::State& state, const std::string& figure, const std::vector<std::string>& command,
              const std::function<std::string(const std::string& out)>& check) {
    std::vector<double> milliseconds;
    for (auto _ : state) {
        const Finished run = Run(command);
        state.SetIterationTime(run.seconds);
        milliseconds.push_back(run.seconds * 1000);
        std::string wrong;
        if (run.status < 0) wrong = "could not run " + command.front();
        else if (run.status > 0) wrong = command.front() + " exited with " + std::to_string(run.status);
        else wrong = check(run.out);
        if (!wrong.empty()) {
            state.SkipWithError(wrong.c_str());
            return;
        }
    }
    Record(state, figure, milliseconds);
}

void TimePythonCalls(benchmark::State& state, const std::string& figure, const std::vector<std::string>& arguments,
                     const std::function<std::string(const std::string& answer)>& check) {
    const std::string modulePath = std::string("PYTHONPATH=") + PELMORA_PYTHON_PATH;
    const std::string script = std::string(PELMORA_BENCH_SOURCE_DIR) + "/python_timings.py";
    std::vector<std::string> command{"env",  modulePath,        kPython,
                                     script, arguments.front(), std::to_string(state.max_iterations)};
    command.insert(command.end(), arguments.begin() + 1, arguments.end());
    const Finished run = Run(command);
    const std::vector<std::string> lines = Lines(run.out);
    std::string wrong = run.status != 0 || lines.size() != static_cast<std::size_t>(state.max_iterations) + 1
                            ? Unexpected("python_timings.py " + arguments.front(), run.out)
                            : check(lines.front());
    if (!wrong.empty()) {
        state.SkipWithError(wrong.c_str());
        return;
    }
    std::vector<double> milliseconds;
    std::size_t next = 1;
    for (auto _ : state) {
        milliseconds.push_back(std::stod(lines[next++]));
        state.SetIterationTime(milliseconds.back() / 1000);
    }
    Record(state, figure, milliseconds);
}

// ---- Screens -----------------------------------------------------------------------------

// The photograph-like screen: in each channel, smooth noise at scales from 512 down to 4
// pixels, each octave half as strong as the one above, plus a fine grain, so that
// neighbouring pixels differ a little as in a photo and no 32 x 32 piece recurs even
// within a tolerance of 8. Made from a fixed seed, so every run shows the same screen.
const Surface& PhotoScreen() {
    static const Surface screen = [] {
        std::mt19937 random(20261206);
        std::vector<float> sum(static_cast<std::size_t>(kScreenWidth) * kScreenHeight * 3, 0.0F);
        float strength = 1.0F, total = 0.0F;
        for (int cell = 512; cell >= 4; cell /= 2, strength /= 2) {
            total += strength;
            const int columns = kScreenWidth / cell + 2, rows = kScreenHeight / cell + 2;
            std::vector<float> lattice(static_cast<std::size_t>(columns) * rows * 3);
            for (float& value : lattice) value = static_cast<float>(random()) / 4294967296.0F;
            for (int y = 0; y < kScreenHeight; ++y) {
                const int row = y / cell;
                float fy = static_cast<float>(y % cell) / static_cast<float>(cell);
                fy = fy * fy * (3 - 2 * fy);
                for (int x = 0; x < kScreenWidth; ++x) {
                    const int column = x / cell;
                    float fx = static_cast<float>(x % cell) / static_cast<float>(cell);
                    fx = fx * fx * (3 - 2 * fx);
                    for (int channel = 0; channel < 3; ++channel) {
                        const auto at = [&](int c, int r) {
                            return lattice[(static_cast<std::size_t>(r) * columns + c) * 3 + channel];
                        };
                        const float top = at(column, row) + (at(column + 1, row) - at(column, row)) * fx;
                        const float bottom = at(column, row + 1) + (at(column + 1, row + 1) - at(column, row + 1)) * fx;
                        sum[(static_cast<std::size_t>(y) * kScreenWidth + x) * 3 + channel] +=
                            strength * (top + (bottom - top) * fy);
                    }
                }
            }
        }
        Surface image(kScreenWidth, kScreenHeight);
        for (int y = 0; y < kScreenHeight; ++y)
            for (int x = 0; x < kScreenWidth; ++x) {
                Colour colour = 0;
                for (int channel = 0; channel < 3; ++channel) {
                    const float smooth = sum[(static_cast<std::size_t>(y) * kScreenWidth + x) * 3 + channel] / total;
                    const int grain = static_cast<int>(random() % 13) - 6;
                    colour |= std::clamp(24 + static_cast<int>(smooth * 208) + grain, 0, 255) << (8 * channel);
                }
                image.SetPixel(x, y, colour);
            }
        return image;
    }();
    return screen;
}

namespace {
// Shows an image over the whole screen in a borderless window above every other, which
// the window manager leaves alone (override-redirect), and makes sure the screen shows it.
class ScreenShow {
public:
    ScreenShow() : display_(XOpenDisplay(nullptr)) {}
    ~ScreenShow() {
        if (display_) XCloseDisplay(display_);
    }
    ScreenShow(const ScreenShow&) = delete;
    ScreenShow& operator=(const ScreenShow&) = delete;

    // What is wrong (nothing once the screen shows image). Without check the screen is not
    // read back: an X server under Wayland gives no program the root window's pixels.
    std::string Show(const Surface& image, bool check) {
        if (!display_) return "no X server on DISPLAY";
        const int screen = DefaultScreen(display_);
        Visual* visual = DefaultVisual(display_, screen);
        if (DisplayWidth(display_, screen) != image.Width() || DisplayHeight(display_, screen) != image.Height())
            return "the screen is not " + std::to_string(image.Width()) + " x " + std::to_string(image.Height());
        if (DefaultDepth(display_, screen) != 24 || visual->red_mask != 0xFF0000 || visual->green_mask != 0xFF00 ||
            visual->blue_mask != 0xFF)
            return "the screen is not 24-bit true colour";
        const ::Window root = DefaultRootWindow(display_);
        if (shown_ != &image) {
            // The server keeps the pixmap for the window's background and paints it itself.
            std::vector<std::uint32_t> pixels(static_cast<std::size_t>(image.Width()) * image.Height());
            for (int y = 0; y < image.Height(); ++y)
                for (int x = 0; x < image.Width(); ++x) {
                    const auto colour = static_cast<std::uint32_t>(image.Pixel(x, y));
                    pixels[static_cast<std::size_t>(y) * image.Width() + x] =
                        (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
                }
            XImage* picture =
                XCreateImage(display_, visual, 24, ZPixmap, 0, reinterpret_cast<char*>(pixels.data()),
                             static_cast<unsigned>(image.Width()), static_cast<unsigned>(image.Height()), 32, 0);
            const Pixmap pixmap = XCreatePixmap(display_, root, static_cast<unsigned>(image.Width()),
                                                static_cast<unsigned>(image.Height()), 24);
            XPutImage(display_, pixmap, DefaultGC(display_, screen), picture, 0, 0, 0, 0,
                      static_cast<unsigned>(image.Width()), static_cast<unsigned>(image.Height()));
            picture->data = nullptr;  // the vector's
            XDestroyImage(picture);
            XSetWindowAttributes attributes{};
            attributes.override_redirect = True;
            attributes.background_pixmap = pixmap;
            const ::Window window = XCreateWindow(display_, root, 0, 0, static_cast<unsigned>(image.Width()),
                                                  static_cast<unsigned>(image.Height()), 0, CopyFromParent, InputOutput,
                                                  CopyFromParent, CWOverrideRedirect | CWBackPixmap, &attributes);
            XFreePixmap(display_, pixmap);
            XMapWindow(display_, window);
            if (window_) XDestroyWindow(display_, window_);
            window_ = window;
            shown_ = &image;
        }
        // Raised again each time: windows mapped meanwhile may have gone above it.
        XRaiseWindow(display_, window_);
        XSync(display_, False);
        if (!check) return {};
        XImage* grab = XGetImage(display_, root, 0, 0, static_cast<unsigned>(image.Width()),
                                 static_cast<unsigned>(image.Height()), AllPlanes, ZPixmap);
        if (!grab) return "the screen could not be read";
        std::size_t differing = 0;
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x) {
                const auto colour = static_cast<std::uint32_t>(image.Pixel(x, y));
                const unsigned long want = (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
                differing += (XGetPixel(grab, x, y) & 0xFFFFFF) != want;
            }
        XDestroyImage(grab);
        if (differing) return "the screen shows " + std::to_string(differing) + " pixels other than the image";
        return {};
    }

private:
    Display* display_;
    ::Window window_ = 0;
    const Surface* shown_ = nullptr;
};

ScreenShow& Screen() {
    static ScreenShow show;
    return show;
}
}  // namespace

// Shows image, or marks the benchmark failed.
bool Showing(benchmark::State& state, const Surface& image) {
    const std::string wrong = Screen().Show(image, true);
    if (!wrong.empty()) state.SkipWithError(wrong.c_str());
    return wrong.empty();
}

std::string ShowWithoutCheck(const Surface& image) { return Screen().Show(image, false); }

// ---- Files -------------------------------------------------------------------------------

const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() / ("pelmora-cli-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

// The picture written as a 24-bit bitmap file named name in the run's folder.
std::string Written(const std::string& name, const Surface& picture) {
    std::string path = (Folder() / name).string();
    std::ofstream(path, std::ios::binary) << EncodeBitmap(picture);
    return path;
}

// ---- Summary -----------------------------------------------------------------------------

namespace {
std::string LoadAverage() {
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

void PrintSummary(const std::string& loadBefore, std::span<const Target> targets) {
    std::map<std::string, double> medians;
    for (const auto& [figure, milliseconds] : Samples()) medians[figure] = Median(milliseconds);
    std::printf("\npelmora-cli against its peers: medians of every run, ms (load average %s before, %s after)\n",
                loadBefore.c_str(), LoadAverage().c_str());
    for (const Target& target : targets) {
        const auto ours = medians.find(target.ours);
        if (ours == medians.end()) continue;
        const auto above = target.limitAbove ? medians.find(target.limitAbove) : medians.end();
        if (target.limitAbove && above == medians.end()) continue;
        const double limit = target.limitMs + (above == medians.end() ? 0 : above->second);
        std::printf("  %-38s %8.2f  (<= %g: %s)", target.what, ours->second, limit,
                    ours->second <= limit ? "met" : "MISSED");
        const auto peer = target.peer ? medians.find(target.peer) : medians.end();
        if (peer != medians.end()) {
            const double ratio = peer->second / ours->second;
            std::printf("   %s %.2f: %.1fx faster (>= %.0fx: %s)", target.peerName, peer->second, ratio, target.factor,
                        ratio >= target.factor ? "met" : "MISSED");
        }
        std::printf("\n");
    }
}
}  // namespace

int RunBenchmarks(int argc, char** argv, std::span<const Target> targets) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const std::string loadBefore = LoadAverage();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSummary(loadBefore, targets);
    std::error_code ignored;
    std::filesystem::remove_all(Folder(), ignored);
    return 0;
}

}  // namespace pelmora
