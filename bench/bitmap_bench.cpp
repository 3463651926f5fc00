// SPDX-License-Identifier: MIT
// The bitmap file codec on a full-HD picture in memory: what saving a snapshot and opening
// a 24-bit bitmap cost apart from the disk. Needs no X server.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "capture/bitmap_file.h"

namespace {

using namespace pelmora;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr std::int64_t kPixelBytes = std::int64_t{kWidth} * kHeight * 3;

// A screen-sized picture whose neighbouring pixels differ in every channel.
Surface VariedPicture() {
    Surface picture(kWidth, kHeight);
    std::uint32_t state = 2463534242u;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            picture.Row(y)[x] = static_cast<std::int32_t>(state & 0xFFFFFF);
        }
    return picture;
}

void BM_BmpEncode1080p(benchmark::State& state) {
    const Surface picture = VariedPicture();
    for (auto _ : state) {
        std::string file = EncodeBitmap(picture);
        benchmark::DoNotOptimize(file.data());
    }
    state.SetBytesProcessed(state.iterations() * kPixelBytes);
}
BENCHMARK(BM_BmpEncode1080p)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

void BM_BmpDecode1080p(benchmark::State& state) {
    const std::string file = EncodeBitmap(VariedPicture());
    for (auto _ : state) {
        DecodedBitmap decoded = DecodeBitmap(file);
        if (!decoded.picture) {
            state.SkipWithError(decoded.error.c_str());
            return;
        }
        benchmark::DoNotOptimize(decoded.picture->Row(0));
    }
    state.SetBytesProcessed(state.iterations() * kPixelBytes);
}
BENCHMARK(BM_BmpDecode1080p)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
