// SPDX-License-Identifier: MIT
// The cost of a snapshot against the real X server on DISPLAY (scripts/bench runs it on a
// 1920 x 1080 Xvfb): the grab of the whole screen, the bitmap encoding and the file written
// whole, as the snapshot button does them after its wait; and ImageMagick's `import` of the
// same screen for comparison.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "capture/bitmap_file.h"
#include "capture/screen_grab.h"
#include "backends/qt/qt_services.h"
#include "backends/x11/x11_desktop.h"

namespace {

using namespace pelmora;

const std::filesystem::path kFolder = std::filesystem::temp_directory_path() / "pelmora-snapshot-bench";

void BM_Snapshot1080p(benchmark::State& state) {
    auto connection = X11Connection::Open();
    if (!connection) return state.SkipWithError("no X server on DISPLAY");
    X11Desktop desktop(*connection);
    const ScreenSize screen = desktop.Size();
    if (screen.width != 1920 || screen.height != 1080) return state.SkipWithError("the screen is not 1920 x 1080");
    std::filesystem::create_directories(kFolder);
    QtFileSystem files;
    const std::string path = (kFolder / "20261206153045.bmp").string();
    for (auto _ : state) {
        const std::optional<Surface> picture = GrabScreenArea(desktop, 0, 0, screen.width, screen.height, true);
        if (!picture || !files.WriteFileWhole(path, EncodeBitmap(*picture))) return state.SkipWithError("not saved");
    }
    std::filesystem::remove_all(kFolder);
}
BENCHMARK(BM_Snapshot1080p)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

void BM_ImportScreenshot1080p(benchmark::State& state) {
    std::filesystem::create_directories(kFolder);
    const std::string command = "import -window root " + (kFolder / "import.bmp").string();
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) return state.SkipWithError("import failed");
    std::filesystem::remove_all(kFolder);
}
BENCHMARK(BM_ImportScreenshot1080p)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
