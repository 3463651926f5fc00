// SPDX-License-Identifier: MIT
// The cost of the hot paths (the sampling poll, a hotkey grab) against the real X server on DISPLAY (run by
// scripts/bench inside a private Xvfb).
#include <benchmark/benchmark.h>

#include <cstdio>

#include "form_on_x11.h"

namespace {

using namespace pelmora;

// The read-out of one poll: pointer, Label9, the grab rule and the get panel's colour forms.
void BM_PollReadOut(benchmark::State& state) {
    FormOnX11 fixture;
    Form1* form = fixture.Ready(state, {400, 300});
    if (!form) return;
    for (auto _ : state) {
        const GrabPoint grab = form->adjustment.AdjustGrabPoint(form->sampling.ReadPointer());
        form->sampling.ShowSample(grab.sampled, grab.reportedX, grab.reportedY);
    }
}
BENCHMARK(BM_PollReadOut)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

// A whole poll as the timer runs it, magnifier included.
void BM_Poll(benchmark::State& state) {
    FormOnX11 fixture;
    Form1* form = fixture.Ready(state, {400, 300});
    if (!form) return;
    for (auto _ : state) form->Timer1_Timer();
}
BENCHMARK(BM_Poll)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

// One hotkey grab into a slot: pointer, grab rule, pixel, swatch and slot text.
void BM_GrabIntoSlot(benchmark::State& state) {
    FormOnX11 fixture;
    Form1* form = fixture.Ready(state, {400, 300});
    if (!form) return;
    for (auto _ : state) form->hotkeyDispatch.HotKeyWndProc(1);
}
BENCHMARK(BM_GrabIntoSlot)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
