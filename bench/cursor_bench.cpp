// SPDX-License-Identifier: MIT
// The cost of the cursor feature code against the real X server on DISPLAY (run by
// scripts/bench inside a private Xvfb with openbox, whose root cursor is then current).
#include <benchmark/benchmark.h>

#include "cursor/feature_code.h"
#include "form_on_x11.h"

namespace {

using namespace pelmora;

// Form1 with the cursor page open and the pointer on the bare desktop, so that the code
// is read from a real cursor image; nullptr (benchmark skipped) when none can be read.
Form1* CursorPageReady(benchmark::State& state, FormOnX11& fixture) {
    Form1* form = fixture.Ready(state, {900, 700});
    if (!form) return nullptr;
    if (!fixture.desktop->ReadCursor().known) {
        state.SkipWithError("the X server gives no cursor image");
        return nullptr;
    }
    form->Option2[1].Select();
    return form;
}

// One code: the cursor image request, drawing into the preview and the work bitmap, the
// samples and the fold.
void BM_CursorFeatureCode(benchmark::State& state) {
    FormOnX11 fixture;
    Form1* form = CursorPageReady(state, fixture);
    if (!form) return;
    CursorPage& page = form->cursorPage;
    for (auto _ : state) benchmark::DoNotOptimize(CursorFeatureCode(*fixture.desktop, page.鼠标绘制[0], 1));
}
BENCHMARK(BM_CursorFeatureCode)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

// A whole sampling tick while the cursor page is open: read-out, magnifier and code.
void BM_PollOnCursorPage(benchmark::State& state) {
    FormOnX11 fixture;
    Form1* form = CursorPageReady(state, fixture);
    if (!form) return;
    for (auto _ : state) form->Timer1_Timer();
}
BENCHMARK(BM_PollOnCursorPage)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
