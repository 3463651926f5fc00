// SPDX-License-Identifier: MIT
// pelmora-cli against the tools a script would call instead, on the X server on DISPLAY
// (scripts/bench: a private 1920 x 1080 Xvfb with openbox), all in one run on the same
// screen. Every figure but OpenCV's is a whole process, from its spawn until it has exited
// and its output has been read from a pipe: what a script waits for. OpenCV's template
// match is timed inside its Python process (bench/opencv_match.py), the match alone, on a
// bitmap of the same screen. Each benchmark checks the answer and fails on a wrong one; a
// summary at the end sets the median figures side by side against their targets.
#include <benchmark/benchmark.h>

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
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "capture/bitmap_file.h"
#include "other_program.h"
#include "platform/desktop.h"
#include "platform/surface.h"
#include "sampling/colour_forms.h"

extern char** environ;

namespace {

using namespace pelmora;

// ---- Processes ---------------------------------------------------------------------------

struct Finished {
    int status = -1;     // the exit status; -1 when it could not be started or did not exit
    std::string out;     // everything it wrote to standard output
    double seconds = 0;  // from just before the spawn until the wait returned
};

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

// ---- Screens -----------------------------------------------------------------------------

constexpr int kScreenWidth = 1920, kScreenHeight = 1080;

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

// Where the pictures are cut from, in the screen's bottom-right quarter, and their size.
constexpr ScreenPoint kPictureAt{1500, 800};
constexpr int kPictureSide = 32;
const std::string kPictureAtText = std::to_string(kPictureAt.x) + "," + std::to_string(kPictureAt.y) + "\n";

// The picture of the screen whose first rows occur all over it: the screen is one-pixel
// columns of two colours in turn, so every row is the same; the picture is a piece of it
// whose last row has the colours swapped. It is pasted once at kPictureAt, the one place
// where it lies.
Surface RepeatedRowsPicture() {
    constexpr Colour kEven = 0x3C78B4, kOdd = 0xB4783C;
    Surface picture(kPictureSide, kPictureSide);
    for (int y = 0; y < kPictureSide; ++y)
        for (int x = 0; x < kPictureSide; ++x)
            picture.SetPixel(x, y, ((kPictureAt.x + x) % 2 == 0) == (y < kPictureSide - 1) ? kEven : kOdd);
    return picture;
}

const Surface& RepeatedRowsScreen() {
    static const Surface screen = [] {
        const Surface picture = RepeatedRowsPicture();
        Surface image(kScreenWidth, kScreenHeight);
        for (int y = 0; y < kScreenHeight; ++y)
            for (int x = 0; x < kScreenWidth; ++x)
                image.SetPixel(x, y, picture.Pixel(x % 2 == kPictureAt.x % 2 ? 0 : 1, 0));
        image.BitBlt(kPictureAt.x, kPictureAt.y, kPictureSide, kPictureSide, picture, 0, 0);
        return image;
    }();
    return screen;
}

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

    // What is wrong (nothing once the screen shows image).
    std::string Show(const Surface& image) {
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

// Shows image, or marks the benchmark failed.
bool Showing(benchmark::State& state, const Surface& image) {
    const std::string wrong = Screen().Show(image);
    if (!wrong.empty()) state.SkipWithError(wrong.c_str());
    return wrong.empty();
}

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

Surface CutFromPhoto() {
    Surface picture(kPictureSide, kPictureSide);
    picture.BitBlt(0, 0, kPictureSide, kPictureSide, PhotoScreen(), kPictureAt.x, kPictureAt.y);
    return picture;
}

enum class Picture { Exact, Transparent };

// The picture cut from the photo screen as a file: exact, or as a picture cleaned in an
// editor and saved again: every channel a little off (up to 5 either way) and everything
// outside the circle the picture holds painted pure white.
const std::string& PictureFile(Picture kind) {
    static const std::string exact = Written("exact.bmp", CutFromPhoto());
    static const std::string transparent = [] {
        Surface picture = CutFromPhoto();
        std::mt19937 random(32);
        constexpr double kRadius = kPictureSide / 2.0;
        for (int y = 0; y < kPictureSide; ++y)
            for (int x = 0; x < kPictureSide; ++x) {
                const double dx = x + 0.5 - kRadius, dy = y + 0.5 - kRadius;
                Colour colour = 0xFFFFFF;
                if (dx * dx + dy * dy <= kRadius * kRadius) {
                    colour = 0;
                    for (int shift = 0; shift < 24; shift += 8) {
                        const int channel = (picture.Pixel(x, y) >> shift & 0xFF) + static_cast<int>(random() % 11) - 5;
                        colour |= std::clamp(channel, 0, 254) << shift;
                    }
                }
                picture.SetPixel(x, y, colour);
            }
        return Written("transparent.bmp", picture);
    }();
    return kind == Picture::Exact ? exact : transparent;
}

// ---- The programs ------------------------------------------------------------------------

const std::string kCli = PELMORA_CLI;
// Debian's python3-opencv serves the system's interpreter.
const std::string kPython = "/usr/bin/python3";
const std::string kOpenCvScript = PELMORA_BENCH_SOURCE_DIR "/opencv_match.py";

std::string Unexpected(const std::string& what, const std::string& out) {
    return what + " printed \"" + out.substr(0, 200) + "\"";
}

// ---- Pixel -------------------------------------------------------------------------------

constexpr ScreenPoint kPixelAt{1234, 567};

void BM_CliPixel(benchmark::State& state) {
    if (!Showing(state, PhotoScreen())) return;
    const std::string expected = ColourFormsOf(PhotoScreen().Pixel(kPixelAt.x, kPixelAt.y)).hex + "\n";
    TimeRuns(state, "cli_pixel", {kCli, "pixel", std::to_string(kPixelAt.x), std::to_string(kPixelAt.y)},
             [&](const std::string& out) { return out == expected ? "" : Unexpected("pelmora-cli pixel", out); });
}
BENCHMARK(BM_CliPixel)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(101);

void BM_ImportPixel(benchmark::State& state) {
    if (!Showing(state, PhotoScreen())) return;
    // ImageMagick prints the pixel in several forms, one of them srgb(red,green,blue).
    const std::string expected = "srgb(" + ColourFormsOf(PhotoScreen().Pixel(kPixelAt.x, kPixelAt.y)).RgbTriple() + ")";
    const std::string crop = "1x1+" + std::to_string(kPixelAt.x) + "+" + std::to_string(kPixelAt.y);
    TimeRuns(state, "import_pixel", {"import", "-window", "root", "-crop", crop, "txt:-"}, [&](const std::string& out) {
        return out.find(expected) != std::string::npos ? "" : Unexpected("import", out);
    });
}
BENCHMARK(BM_ImportPixel)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

// ---- Find-image --------------------------------------------------------------------------

void BM_CliFindImage1080p(benchmark::State& state, Picture kind) {
    if (!Showing(state, PhotoScreen())) return;
    std::vector<std::string> command{kCli, "find-image", PictureFile(kind)};
    if (kind == Picture::Transparent) command.insert(command.end(), {"--tolerance", "8", "--transparent", "FFFFFF"});
    TimeRuns(state, kind == Picture::Exact ? "cli_find_exact" : "cli_find_transparent", command,
             [](const std::string& out) { return out == kPictureAtText ? "" : Unexpected("find-image", out); });
}
BENCHMARK_CAPTURE(BM_CliFindImage1080p, exact, Picture::Exact)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(41);
BENCHMARK_CAPTURE(BM_CliFindImage1080p, tolerance_transparent, Picture::Transparent)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(41);

// OpenCV's TM_SQDIFF match of the same picture on a bitmap of the same screen, the match
// alone: one Python process times 21 matches and reports their median, which is this
// benchmark's one iteration.
void BM_OpenCvMatch1080p(benchmark::State& state, Picture kind) {
    if (!Showing(state, PhotoScreen())) return;
    static const std::string screen = Written("screen.bmp", PhotoScreen());  // what Showing found on the screen
    std::vector<std::string> command{kPython, kOpenCvScript, screen, PictureFile(kind), "--repeat", "21"};
    if (kind == Picture::Transparent) command.emplace_back("--transparent");
    double medianMs = 0;
    for (auto _ : state) {
        const Finished run = Run(command);
        std::string found, threads;
        for (const std::string& line : Lines(run.out)) {
            if (line.rfind("found ", 0) == 0) found = line.substr(6) + "\n";
            if (line.rfind("median_ms ", 0) == 0) medianMs = std::stod(line.substr(10));
            if (line.rfind("threads ", 0) == 0) threads = line.substr(8);
        }
        if (run.status != 0 || medianMs <= 0) {
            state.SkipWithError("opencv_match.py failed (are python3-opencv and python3-numpy installed?)");
            return;
        }
        if (found != kPictureAtText) {
            state.SkipWithError(Unexpected("opencv_match.py", run.out).c_str());
            return;
        }
        state.SetIterationTime(medianMs / 1000);
        state.counters["threads"] = std::stod(threads);
    }
    Record(state, kind == Picture::Exact ? "opencv_exact" : "opencv_transparent", {medianMs});
}
BENCHMARK_CAPTURE(BM_OpenCvMatch1080p, exact, Picture::Exact)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_OpenCvMatch1080p, transparent, Picture::Transparent)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The hard case for a search that compares a picture row by row from the top: its first
// 31 rows lie at every other pixel of the screen, and only its last row tells the one
// place apart.
void BM_CliFindImageRepeatedRows(benchmark::State& state) {
    if (!Showing(state, RepeatedRowsScreen())) return;
    static const std::string picture = Written("repeated_rows.bmp", RepeatedRowsPicture());
    TimeRuns(state, "cli_find_repeated_rows", {kCli, "find-image", picture},
             [](const std::string& out) { return out == kPictureAtText ? "" : Unexpected("find-image", out); });
}
BENCHMARK(BM_CliFindImageRepeatedRows)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(41);

// ---- Windows -----------------------------------------------------------------------------

constexpr int kManyWindows = 1000;

// The windows stay for the whole run: a window manager takes seconds to frame a thousand.
OtherProgram& Other() {
    static OtherProgram other;
    return other;
}

// Waits until the window manager scripts/bench started (PELMORA_WM_PID) has used no CPU
// for half a second: having taken on a thousand windows, openbox goes on drawing their
// frames for seconds, which would be timed along with the first runs.
void WaitForIdleWindowManager() {
    const char* pid = std::getenv("PELMORA_WM_PID");
    if (!pid) return;
    const std::string path = std::string("/proc/") + pid + "/stat";
    const auto cpuTicks = [&] {
        std::ifstream file(path);
        std::string stat;
        std::getline(file, stat);
        // After the command name in parentheses: the state (field 3), ..., utime (14), stime (15).
        std::istringstream fields(stat.substr(std::min(stat.size(), stat.rfind(')') + 1)));
        std::string field;
        long long ticks = 0;
        for (int number = 3; number <= 15 && fields >> field; ++number)
            if (number >= 14) ticks += std::stoll(field);
        return ticks;
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    long long last = cpuTicks();
    for (int quiet = 0; quiet < 2 && std::chrono::steady_clock::now() < deadline;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        const long long now = cpuTicks();
        quiet = now == last ? quiet + 1 : 0;
        last = now;
    }
}

bool ShowingManyWindows(benchmark::State& state) {
    static const bool shown = [] {
        const bool settled = ShowNumberedWindows(Other(), kManyWindows);
        if (settled) WaitForIdleWindowManager();
        return settled;
    }();
    if (!shown) state.SkipWithError("the window manager did not take on the windows");
    return shown;
}

// Every one of the windows listed once, with its handle and title.
std::string CheckWindowLines(const std::string& out) {
    std::map<std::string, int> listed;  // "handle=title" -> times listed
    for (const std::string& line : Lines(out)) {
        const std::size_t bracket = line.find(']');
        if (bracket != std::string::npos) ++listed[line.substr(bracket + 1)];
    }
    for (int i = 0; i < kManyWindows; ++i) {
        const auto handle = static_cast<WindowHandle>(Other().Shown()[static_cast<std::size_t>(i)]);
        const std::string expected = std::to_string(handle) + "=" + NumberedWindowTitle(i);
        if (listed[expected] != 1)
            return "pelmora-cli windows listed " + expected + " " + std::to_string(listed[expected]) + " times";
    }
    return {};
}

void BM_CliWindows1000(benchmark::State& state) {
    if (!ShowingManyWindows(state)) return;
    TimeRuns(state, "cli_windows", {kCli, "windows"}, CheckWindowLines);
}
BENCHMARK(BM_CliWindows1000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(31);

void BM_XdotoolSearch1000(benchmark::State& state) {
    if (!ShowingManyWindows(state)) return;
    TimeRuns(state, "xdotool_search", {"xdotool", "search", "--name", "."}, [](const std::string& out) {
        std::set<std::string> ids;
        for (const std::string& line : Lines(out)) ids.insert(line);
        for (int i = 0; i < kManyWindows; ++i)
            if (!ids.count(std::to_string(Other().Shown()[static_cast<std::size_t>(i)])))
                return "xdotool did not list window " + NumberedWindowTitle(i);
        return std::string();
    });
}
BENCHMARK(BM_XdotoolSearch1000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// ---- Summary -----------------------------------------------------------------------------

std::string LoadAverage() {
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

// One target: pelmora-cli's median at most limitMs, and at least factor times faster than
// the peer's (no peer: no factor).
struct Target {
    const char* what;
    const char* ours;
    double limitMs;
    const char* peer;
    const char* peerName;
    double factor;
};

constexpr Target kTargets[] = {
    {"pixel X Y", "cli_pixel", 5, "import_pixel", "import -crop 1x1 txt:-", 10},
    {"find-image, exact", "cli_find_exact", 15, "opencv_exact", "cv2.matchTemplate SQDIFF (match only)", 3},
    {"find-image, tolerance 8, transparent", "cli_find_transparent", 15, "opencv_transparent",
     "cv2.matchTemplate SQDIFF masked (match only)", 3},
    {"find-image, first rows everywhere", "cli_find_repeated_rows", 15, nullptr, nullptr, 0},
    {"windows, 1000 windows", "cli_windows", 30, "xdotool_search", "xdotool search --name .", 1},
};

void PrintSummary(const std::string& loadBefore) {
    std::map<std::string, double> medians;
    for (const auto& [figure, milliseconds] : Samples()) medians[figure] = Median(milliseconds);
    std::printf("\npelmora-cli against its peers: medians of every run, ms (load average %s before, %s after)\n",
                loadBefore.c_str(), LoadAverage().c_str());
    for (const Target& target : kTargets) {
        const auto ours = medians.find(target.ours);
        if (ours == medians.end()) continue;
        std::printf("  %-38s %8.2f  (<= %.0f: %s)", target.what, ours->second, target.limitMs,
                    ours->second <= target.limitMs ? "met" : "MISSED");
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

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const std::string loadBefore = LoadAverage();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSummary(loadBefore);
    std::error_code ignored;
    std::filesystem::remove_all(Folder(), ignored);
    return 0;
}
