// SPDX-License-Identifier: MIT
// pelmora-cli finding what is nearly there, against its peers, on the X server on DISPLAY
// (scripts/bench: a private 1920 x 1080 Xvfb with openbox) showing a busy desktop of
// gradients, rectangles and noise: find-image with a similarity,
// at other scales, and find-points, each a whole process; OpenCV's TM_CCOEFF_NORMED match
// timed inside its Python process on a bitmap of the same screen, and the usual Python
// pipeline (a PIL grab, the match, the first place over the threshold) as a whole call
// (bench/opencv_similar.py). Each benchmark checks its answer and fails on a wrong one.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "cli_peers.h"
#include "platform/desktop.h"
#include "platform/surface.h"
#include "sampling/colour_forms.h"

namespace {

using namespace pelmora;

const std::string kSimilarScript = PELMORA_BENCH_SOURCE_DIR "/opencv_similar.py";

// Where every picture and pattern is cut from: the screen's bottom-right quarter.
constexpr ScreenPoint kCutAt{1500, 800};
const std::string kCutAtText = std::to_string(kCutAt.x) + "," + std::to_string(kCutAt.y);

// A busy desktop: the photograph-like screen under 600 rectangles of windows and controls
// (8 to 200 pixels a side, each one colour or a gradient between two), with a grain of up
// to 3 levels either way over everything, the same in every run. Smooth areas stay where
// the photograph shows, so that many places correlate well with a smooth picture.
const Surface& BusyScreen() {
    static const Surface screen = [] {
        Surface image = PhotoScreen();
        std::mt19937 random(20261209);
        const auto channel = [](Colour colour, int shift) { return static_cast<int>(colour >> shift & 0xFF); };
        for (int i = 0; i < 600; ++i) {
            const int width = 8 + static_cast<int>(random() % 193), height = 8 + static_cast<int>(random() % 193);
            const int left = static_cast<int>(random() % kScreenWidth),
                      top = static_cast<int>(random() % kScreenHeight);
            const Colour from = static_cast<Colour>(random() & 0xFFFFFF);
            const Colour to = random() % 2 ? from : static_cast<Colour>(random() & 0xFFFFFF);
            for (int y = top; y < std::min(top + height, kScreenHeight); ++y)
                for (int x = left; x < std::min(left + width, kScreenWidth); ++x) {
                    Colour colour = 0;
                    for (int shift = 0; shift < 24; shift += 8)
                        colour |=
                            (channel(from, shift) + (channel(to, shift) - channel(from, shift)) * (x - left) / width)
                            << shift;
                    image.SetPixel(x, y, colour);
                }
        }
        for (int y = 0; y < kScreenHeight; ++y)
            for (int x = 0; x < kScreenWidth; ++x) {
                Colour colour = 0;
                for (int shift = 0; shift < 24; shift += 8)
                    colour |= std::clamp(channel(image.Pixel(x, y), shift) + static_cast<int>(random() % 7) - 3, 0, 255)
                              << shift;
                image.SetPixel(x, y, colour);
            }
        return image;
    }();
    return screen;
}

Surface Cut(int side) {
    Surface picture(side, side);
    picture.BitBlt(0, 0, side, side, BusyScreen(), kCutAt.x, kCutAt.y);
    return picture;
}

// The cut as a script's picture differs from the screen after a theme change: every
// channel 10 levels brighter, then up to 6 levels of noise either way, so that a search
// within a tolerance of 8 misses it.
const std::string& DisturbedFile(int side) {
    static std::map<int, std::string> files;
    auto& file = files[side];
    if (file.empty()) {
        Surface picture = Cut(side);
        std::mt19937 random(static_cast<unsigned>(side));
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                Colour colour = 0;
                for (int shift = 0; shift < 24; shift += 8) {
                    const int level = (picture.Pixel(x, y) >> shift & 0xFF) + 10 + static_cast<int>(random() % 13) - 6;
                    colour |= std::clamp(level, 0, 255) << shift;
                }
                picture.SetPixel(x, y, colour);
            }
        file = Written("disturbed" + std::to_string(side) + ".bmp", picture);
    }
    return file;
}

// The value after "name": in a one-line JSON object, as text.
std::string JsonMember(const std::string& json, const std::string& name) {
    const std::size_t at = json.find("\"" + name + "\":");
    if (at == std::string::npos) return {};
    const std::size_t start = at + name.size() + 3;
    return json.substr(start, json.find_first_of(",}", start) - start);
}

// The scores each side gave at the cut's place, by picture side, to set them side by side.
std::map<int, double>& OurScores() {
    static std::map<int, double> scores;
    return scores;
}
std::map<int, double>& OpenCvScores() {
    static std::map<int, double> scores;
    return scores;
}

// "x,y" and the score of a --json answer, or what is wrong with it.
std::string CheckPlace(const std::string& out, const std::string& what, double* score) {
    const std::string place = JsonMember(out, "x") + "," + JsonMember(out, "y");
    if (place != kCutAtText || JsonMember(out, "score").empty()) return Unexpected(what, out);
    *score = std::stod(JsonMember(out, "score"));
    return {};
}

// ---- find-image --similarity -------------------------------------------------------------

void BM_CliFindSimilar1080p(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    if (!Showing(state, BusyScreen())) return;
    const std::string& file = DisturbedFile(side);
    if (Run({kCli, "find-image", file, "--tolerance", "8"}).status != 1) {
        state.SkipWithError("find-image --tolerance 8 found the disturbed picture: it is not disturbed enough");
        return;
    }
    TimeRuns(state, "cli_similar_" + std::to_string(side), {kCli, "find-image", file, "--similarity", "0.9", "--json"},
             [&](const std::string& out) { return CheckPlace(out, "find-image --similarity", &OurScores()[side]); });
    state.counters["score"] = OurScores()[side];
}
BENCHMARK(BM_CliFindSimilar1080p)->Arg(32)->Arg(64)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(31);

// pelmora-cli find-image on the disturbed picture without a similarity: found nowhere, so
// every place is tried; the peer of find_image's exact search in Python.
void BM_CliFindExactDisturbed64(benchmark::State& state) {
    if (!Showing(state, BusyScreen())) return;
    const std::string& file = DisturbedFile(64);
    std::vector<double> milliseconds;
    for (auto _ : state) {
        const Finished run = Run({kCli, "find-image", file});
        if (run.status != 1)
            return state.SkipWithError(Unexpected("find-image of the disturbed picture", run.out).c_str());
        state.SetIterationTime(run.seconds);
        milliseconds.push_back(run.seconds * 1000);
    }
    Record(state, "cli_exact_64", milliseconds);
}
BENCHMARK(BM_CliFindExactDisturbed64)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(31);

// screen.find_image in one Python process, exact and with similarity=0.9.
void BM_PyFindImage(benchmark::State& state, bool similar) {
    if (!Showing(state, BusyScreen())) return;
    std::vector<std::string> arguments{"find_image", DisturbedFile(64)};
    if (similar) arguments.emplace_back("0.9");
    const std::string expected = similar ? kCutAtText : "none";
    TimePythonCalls(state, similar ? "py_similar_64" : "py_exact_64", arguments, [&](const std::string& answer) {
        return answer == expected ? "" : Unexpected("screen.find_image", answer);
    });
}
BENCHMARK_CAPTURE(BM_PyFindImage, exact, false)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(31);
BENCHMARK_CAPTURE(BM_PyFindImage, similarity, true)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(31);

// Runs bench/opencv_similar.py once; its median is the iteration's time.
void TimePython(benchmark::State& state, const std::string& figure, const std::vector<std::string>& arguments,
                const std::function<std::string(const std::string& found, double score)>& check) {
    std::vector<std::string> command{kPython, kSimilarScript};
    command.insert(command.end(), arguments.begin(), arguments.end());
    double medianMs = 0;
    for (auto _ : state) {
        const Finished run = Run(command);
        std::string found;
        double score = 0;
        for (const std::string& line : Lines(run.out)) {
            if (line.rfind("found ", 0) == 0) found = line.substr(6);
            if (line.rfind("score ", 0) == 0) score = std::stod(line.substr(6));
            if (line.rfind("median_ms ", 0) == 0) medianMs = std::stod(line.substr(10));
        }
        if (run.status != 0 || medianMs <= 0) {
            state.SkipWithError("opencv_similar.py failed (are python3-opencv, -numpy and -pil installed?)");
            return;
        }
        if (const std::string wrong = check(found, score); !wrong.empty()) {
            state.SkipWithError(wrong.c_str());
            return;
        }
        state.SetIterationTime(medianMs / 1000);
        state.counters["score"] = score;
    }
    Record(state, figure, {medianMs});
}

void BM_OpenCvCoeffNormed1080p(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    if (!Showing(state, BusyScreen())) return;
    static const std::string screen = Written("screen.bmp", BusyScreen());
    TimePython(state, "opencv_similar_" + std::to_string(side),
               {"match", screen, DisturbedFile(side), "--repeat", "11"}, [&](const std::string& found, double score) {
                   OpenCvScores()[side] = score;
                   return found == kCutAtText ? "" : "OpenCV's best place is " + found;
               });
}
BENCHMARK(BM_OpenCvCoeffNormed1080p)->Arg(32)->Arg(64)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

// What the usual pipeline answers is reported, not checked: taking the first place over the
// threshold, it may well answer with another place than the best.
void BM_PythonPipeline1080p(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    if (!Showing(state, BusyScreen())) return;
    TimePython(state, "python_pipeline_" + std::to_string(side), {"pipeline", DisturbedFile(side), "--repeat", "5"},
               [&](const std::string& found, double score) {
                   std::printf("  the Python pipeline (%d x %d) answered %s, score %.4f (the picture is at %s)\n", side,
                               side, found.c_str(), score, kCutAtText.c_str());
                   return std::string();
               });
}
BENCHMARK(BM_PythonPipeline1080p)->Arg(32)->Arg(64)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

// ---- find-image --scales -----------------------------------------------------------------

// The 48 x 48 cut as a display at 150 % shows it: enlarged to 72 x 72 by bilinear
// interpolation between pixel centres.
const std::string& EnlargedFile() {
    static const std::string file = [] {
        const Surface cut = Cut(48);
        Surface enlarged(72, 72);
        for (int y = 0; y < 72; ++y)
            for (int x = 0; x < 72; ++x) {
                const double sx = std::clamp((x + 0.5) / 1.5 - 0.5, 0.0, 47.0);
                const double sy = std::clamp((y + 0.5) / 1.5 - 0.5, 0.0, 47.0);
                const int x0 = std::min(static_cast<int>(sx), 46), y0 = std::min(static_cast<int>(sy), 46);
                const double fx = sx - x0, fy = sy - y0;
                Colour colour = 0;
                for (int shift = 0; shift < 24; shift += 8) {
                    const auto at = [&](int px, int py) { return cut.Pixel(px, py) >> shift & 0xFF; };
                    const double top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * fx;
                    const double bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * fx;
                    colour |= static_cast<int>(std::lround(top + (bottom - top) * fy)) << shift;
                }
                enlarged.SetPixel(x, y, colour);
            }
        return Written("enlarged.bmp", enlarged);
    }();
    return file;
}

void BM_CliFindScaled1080p(benchmark::State& state) {
    if (!Showing(state, BusyScreen())) return;
    TimeRuns(state, "cli_scaled",
             {kCli, "find-image", EnlargedFile(), "--scales", "0.5,0.667,0.8,1", "--similarity", "0.9", "--json"},
             [](const std::string& out) {
                 double score = 0;
                 std::string wrong = CheckPlace(out, "find-image --scales", &score);
                 if (wrong.empty() && JsonMember(out, "scale") != "0.667")
                     wrong = Unexpected("find-image --scales", out);
                 return wrong;
             });
}
BENCHMARK(BM_CliFindScaled1080p)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(31);

// ---- find-points -------------------------------------------------------------------------

// A button on the busy screen at kCutAt: 4 x 4 cells of 12 pixels, each a colour of its own.
constexpr int kCell = 12;
Colour ButtonColour(int column, int row) {
    constexpr Colour kPalette[16] = {0x2040E0, 0x30C040, 0xD05020, 0x10D0D0, 0xC020C0, 0xE0E020, 0x404040, 0xF0F0F0,
                                     0x8080FF, 0x80FF80, 0xFF8080, 0x0080FF, 0xFF0080, 0x80FF00, 0x602000, 0x006020};
    return kPalette[row * 4 + column];
}

// The busy screen with the button, and with its top third in the button's first colour as
// well when flatThird: the pattern's first colour then matches 691,200 pixels.
const Surface& PointsScreen(bool flatThird) {
    static const auto make = [](bool flat) {
        Surface image = BusyScreen();
        for (int y = 0; y < 4 * kCell; ++y)
            for (int x = 0; x < 4 * kCell; ++x)
                image.SetPixel(kCutAt.x + x, kCutAt.y + y, ButtonColour(x / kCell, y / kCell));
        for (int y = 0; flat && y < kScreenHeight / 3; ++y)
            for (int x = 0; x < kScreenWidth; ++x) image.SetPixel(x, y, ButtonColour(0, 0));
        return image;
    };
    static const Surface busy = make(false), flat = make(true);
    return flatThird ? flat : busy;
}

// Ten points of the button: its top-left pixel, and nine cells' middles, as operands.
std::vector<std::string> PatternOperands() {
    constexpr int kCells[9][2] = {{1, 0}, {2, 0}, {3, 0}, {0, 1}, {2, 1}, {1, 2}, {3, 2}, {0, 3}, {3, 3}};
    std::vector<std::string> operands{ColourFormsOf(ButtonColour(0, 0)).hex};
    for (const auto& [column, row] : kCells)
        operands.push_back(std::to_string(column * kCell + kCell / 2) + "," + std::to_string(row * kCell + kCell / 2) +
                           "," + ColourFormsOf(ButtonColour(column, row)).hex);
    return operands;
}

void BM_CliFindPoints1080p(benchmark::State& state, bool flatThird) {
    if (!Showing(state, PointsScreen(flatThird))) return;
    std::vector<std::string> command{kCli, "find-points"};
    const std::vector<std::string> pattern = PatternOperands();
    command.insert(command.end(), pattern.begin(), pattern.end());
    command.insert(command.end(), {"--tolerance", "8"});
    TimeRuns(state, flatThird ? "cli_points_flat_third" : "cli_points", command,
             [](const std::string& out) { return out == kCutAtText + "\n" ? "" : Unexpected("find-points", out); });
}
BENCHMARK_CAPTURE(BM_CliFindPoints1080p, busy, false)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(41);
BENCHMARK_CAPTURE(BM_CliFindPoints1080p, first_colour_on_a_third, true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(41);

constexpr Target kTargets[] = {
    {"find-image --similarity 0.9, 32 x 32", "cli_similar_32", 25, "opencv_similar_32",
     "cv2.matchTemplate CCOEFF_NORMED (match only)", 5},
    {"find-image --similarity 0.9, 64 x 64", "cli_similar_64", 25, "opencv_similar_64",
     "cv2.matchTemplate CCOEFF_NORMED (match only)", 5},
    {"find-image --similarity, 32 x 32 (whole calls)", "cli_similar_32", 25, "python_pipeline_32",
     "PIL grab + matchTemplate + first over 0.9", 1},
    {"find-image --similarity, 64 x 64 (whole calls)", "cli_similar_64", 25, "python_pipeline_64",
     "PIL grab + matchTemplate + first over 0.9", 1},
    {"find-image --scales 0.5,0.667,0.8,1", "cli_scaled", 60, nullptr, nullptr, 0},
    {"find-points, 10 points, tolerance 8", "cli_points", 5, nullptr, nullptr, 0},
    {"find-points, first colour on a third", "cli_points_flat_third", 5, nullptr, nullptr, 0},
    {"find_image exact, 64 x 64 (import pelmora; whole command: 3 ms more at least)", "py_exact_64", 1000,
     "cli_exact_64", "pelmora-cli find-image", 1},
    {"find_image similarity 0.9, 64 x 64 (import pelmora; whole command: 3 ms more at least)", "py_similar_64", 1000,
     "cli_similar_64", "pelmora-cli find-image --similarity 0.9", 1},
};

}  // namespace

int main(int argc, char** argv) {
    const int status = pelmora::RunBenchmarks(argc, argv, kTargets);
    for (const auto& [side, ours] : OurScores()) {
        const auto theirs = OpenCvScores().find(side);
        if (theirs == OpenCvScores().end()) continue;
        std::printf("  score at the picture's place, %d x %d: pelmora-cli %.4f, OpenCV %.4f (within 0.01: %s)\n", side,
                    side, ours, theirs->second, std::abs(ours - theirs->second) <= 0.01 ? "met" : "MISSED");
    }
    return status;
}
