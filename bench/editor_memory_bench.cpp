// SPDX-License-Identifier: MIT
// The peak resident memory of the window with an 800 x 600 image zoomed to 8:1 and shown on
// the X server on DISPLAY, scrolled over the whole display so that every part is painted
// once. Its own program, so the peak is this case's alone.
#include <fstream>
#include <string>

#include "editor_on_screen.h"

namespace {

using namespace pelmora;

// A line "VmHWM:  123456 kB" of /proc/self/status, in megabytes; 0 when it cannot be read.
double PeakResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024;
    return 0;
}

void BM_ZoomedEditorPeakMemory(benchmark::State& state) {
    EditorOnScreen editor;
    if (!editor.Ready(state)) return;
    EditorCanvas& canvas = editor.form->editor.canvas;
    for (auto _ : state) {
        for (int v = canvas.VScroll1.Min(); v <= canvas.VScroll1.Max(); v += 200)
            for (int h = canvas.HScroll1.Min(); h <= canvas.HScroll1.Max(); h += 300) {
                editor.view->Dispatch([&canvas, h, v] {
                    canvas.HScroll1.SetValue(static_cast<std::int16_t>(h));
                    canvas.VScroll1.SetValue(static_cast<std::int16_t>(v));
                });
                editor.Settle();
            }
    }
    state.counters["VmHWM_MB"] = PeakResidentMegabytes();
}
BENCHMARK(BM_ZoomedEditorPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
