// SPDX-License-Identifier: MIT
// One pencil mouse-move at 8:1 on the 6400 x 4800 display of an 800 x 600 image, with what
// the window repaints on the X server on DISPLAY.
#include "editor_on_screen.h"

namespace {

using namespace pelmora;

void BM_PencilDab8x(benchmark::State& state) {
    EditorOnScreen editor;
    if (!editor.Ready(state)) return;
    PictureBox& display = editor.form->editor.canvas.显示图像;
    // Cells inside the part of the display the viewport shows, one after the other.
    const int left = -display.Geometry().left, top = -display.Geometry().top;
    int step = 0;
    for (auto _ : state) {
        const int x = left + 4 + (step % 38) * 8, y = top + 4 + (step / 38 % 25) * 8;
        ++step;
        editor.view->Dispatch([&display, x, y] { display.RaiseMouseMove({kLeftButton, 0, x, y}); });
        editor.Settle();
    }
}
BENCHMARK(BM_PencilDab8x)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
