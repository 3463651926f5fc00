// SPDX-License-Identifier: MIT
// pelmora-cli against the tools a script would call instead, on the X server on DISPLAY
// (scripts/bench: a private 1920 x 1080 Xvfb with openbox), all in one run on the same
// screen. Every figure but OpenCV's is a whole process, from its spawn until it has exited
// and its output has been read from a pipe: what a script waits for. OpenCV's template
// match is timed inside its Python process (bench/opencv_match.py), the match alone, on a
// bitmap of the same screen. Each benchmark checks the answer and fails on a wrong one; a
// summary at the end sets the median figures side by side against their targets.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli_peers.h"
#include "other_program.h"
#include "platform/desktop.h"
#include "platform/surface.h"
#include "sampling/colour_forms.h"

namespace {

using namespace pelmora;

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

const std::string kOpenCvScript = PELMORA_BENCH_SOURCE_DIR "/opencv_match.py";

// ---- Pixel -------------------------------------------------------------------------------

constexpr ScreenPoint kPixelAt{1234, 567};

void BM_CliPixel(benchmark::State& state) {
    if (!Showing(state, PhotoScreen())) return;
    const std::string expected = ColourFormsOf(PhotoScreen().Pixel(kPixelAt.x, kPixelAt.y)).hex + "\n";
    TimeRuns(state, "cli_pixel", {kCli, "pixel", std::to_string(kPixelAt.x), std::to_string(kPixelAt.y)},
             [&](const std::string& out) { return out == expected ? "" : Unexpected("pelmora-cli pixel", out); });
}
BENCHMARK(BM_CliPixel)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(101);

// pixel 10 10 relative to the client area of the window that shows the screen's picture:
// the whole process, the window's place looked up included.
void BM_CliPixelInWindow(benchmark::State& state) {
    if (!Showing(state, PhotoScreen())) return;
    const Finished windowAt = Run({kCli, "window-at", std::to_string(kPixelAt.x), std::to_string(kPixelAt.y)});
    const std::string handle = windowAt.out.substr(0, windowAt.out.find('\n'));
    const Finished rect = Run({kCli, "window-rect", handle, "--client"});
    int left = 0, top = 0;
    if (std::sscanf(rect.out.c_str(), "%d,%d", &left, &top) != 2) {
        state.SkipWithError(Unexpected("pelmora-cli window-rect", rect.out).c_str());
        return;
    }
    const std::string expected = ColourFormsOf(PhotoScreen().Pixel(left + 10, top + 10)).hex + "\n";
    TimeRuns(state, "cli_pixel_in_window", {kCli, "pixel", "10", "10", "--window", handle, "--client"},
             [&](const std::string& out) { return out == expected ? "" : Unexpected("pelmora-cli pixel", out); });
}
BENCHMARK(BM_CliPixelInWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(101);

// screen.pixel in one Python process, against Pillow's ImageGrab.grab().getpixel, the
// quickest way a Python script reads a pixel on X11 today.
void BM_PyPixel(benchmark::State& state, bool pil) {
    if (!Showing(state, PhotoScreen())) return;
    const std::string expected = ColourFormsOf(PhotoScreen().Pixel(kPixelAt.x, kPixelAt.y)).hex;
    TimePythonCalls(state, pil ? "pil_pixel" : "py_pixel",
                    {pil ? "pil_pixel" : "pixel", std::to_string(kPixelAt.x), std::to_string(kPixelAt.y)},
                    [&](const std::string& answer) { return answer == expected ? "" : Unexpected("pixel", answer); });
}
BENCHMARK_CAPTURE(BM_PyPixel, pelmora, false)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(201);
BENCHMARK_CAPTURE(BM_PyPixel, pil_imagegrab, true)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(21);

// The whole 1920 x 1080 screen as a NumPy array: screen.grab() against ImageGrab.grab().
void BM_PyGrabToNumpy(benchmark::State& state, bool pil) {
    if (!Showing(state, PhotoScreen())) return;
    const std::string expected = pil ? "1080x1920x3" : "1080x1920x4";
    TimePythonCalls(state, pil ? "pil_grab" : "py_grab", {pil ? "pil_grab" : "grab"},
                    [&](const std::string& answer) { return answer == expected ? "" : Unexpected("grab", answer); });
}
BENCHMARK_CAPTURE(BM_PyGrabToNumpy, pelmora, false)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(31);
BENCHMARK_CAPTURE(BM_PyGrabToNumpy, pil_imagegrab, true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(11);

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

constexpr Target kTargets[] = {
    {"pixel X Y", "cli_pixel", 5, "import_pixel", "import -crop 1x1 txt:-", 10},
    {"pixel 10 10 --window H --client (pixel X Y's limit + 1 ms)", "cli_pixel_in_window", 6, nullptr, nullptr, 0},
    {"screen.pixel (import pelmora)", "py_pixel", 0.1, "pil_pixel", "ImageGrab.grab().getpixel", 50},
    {"screen.grab() as NumPy, 1920 x 1080", "py_grab", 10, "pil_grab", "ImageGrab.grab() + numpy.asarray", 1},
    {"find-image, exact", "cli_find_exact", 15, "opencv_exact", "cv2.matchTemplate SQDIFF (match only)", 3},
    {"find-image, tolerance 8, transparent", "cli_find_transparent", 15, "opencv_transparent",
     "cv2.matchTemplate SQDIFF masked (match only)", 3},
    {"find-image, first rows everywhere", "cli_find_repeated_rows", 15, nullptr, nullptr, 0},
    {"windows, 1000 windows", "cli_windows", 30, "xdotool_search", "xdotool search --name .", 1},
};

}  // namespace

int main(int argc, char** argv) { return pelmora::RunBenchmarks(argc, argv, kTargets); }
