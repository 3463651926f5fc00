// SPDX-License-Identifier: MIT
// What wait-change and wait-stable spend on each look beyond its grab: the comparison of a
// full-HD look with the one before, in memory. Needs no X server.
#include <benchmark/benchmark.h>

#include "search/picture_change.h"

namespace {

using namespace pelmora;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// A look alike the first: every row compared whole, found equal.
void BM_ChangedRectangleAlike1080p(benchmark::State& state) {
    const Surface before(kWidth, kHeight, 0x336699), after(kWidth, kHeight, 0x336699);
    for (auto _ : state) benchmark::DoNotOptimize(ChangedRectangle(before, after));
}
BENCHMARK(BM_ChangedRectangleAlike1080p)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

// The worst look: every row differs, only in its middle pixel, so that each row is
// searched from both ends to the middle.
void BM_ChangedRectangleEveryRow1080p(benchmark::State& state) {
    const Surface before(kWidth, kHeight, 0x336699);
    Surface after = before;
    for (int y = 0; y < kHeight; ++y) after.SetPixel(kWidth / 2, y, 0);
    for (auto _ : state) benchmark::DoNotOptimize(ChangedRectangle(before, after));
}
BENCHMARK(BM_ChangedRectangleEveryRow1080p)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

// A diagonal line changed: each row's change lies a little left of the last one's, so that
// every row is searched again up to the rectangle's edge.
void BM_ChangedRectangleDiagonal1080p(benchmark::State& state) {
    const Surface before(kWidth, kHeight, 0x336699);
    Surface after = before;
    for (int y = 0; y < kHeight; ++y) after.SetPixel(kWidth - 1 - y, y, 0);
    for (auto _ : state) benchmark::DoNotOptimize(ChangedRectangle(before, after));
}
BENCHMARK(BM_ChangedRectangleDiagonal1080p)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
