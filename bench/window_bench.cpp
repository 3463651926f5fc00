// SPDX-License-Identifier: MIT
// The cost of the window read-outs against the real X server on DISPLAY: the window list
// over a thousand windows, and a sampling tick with the window under the pointer read out.
// scripts/bench runs it inside a private Xvfb with openbox framing the windows, as on a
// user's desktop.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "form_on_x11.h"
#include "other_program.h"
#include "windows/window_list.h"

namespace {

using namespace pelmora;

// The other program's windows stay for the whole run: the benchmark functions run once
// per repetition, and a window manager takes seconds to frame or unframe a thousand
// windows, so windows made anew each time would be timed half-managed.
OtherProgram& Other() {
    static OtherProgram other;
    return other;
}

constexpr int kManyWindows = 1000;

// The 1000 windows, shown and taken on by the window manager; false when that failed.
bool ShowManyWindows() {
    static const bool shown = ShowNumberedWindows(Other(), kManyWindows);
    return shown;
}

// The enumerate sub-page's list over 1000 titled top-level windows of another program.
void BM_EnumerateWindows1000(benchmark::State& state) {
    std::unique_ptr<X11Connection> connection = X11Connection::Open();
    if (!connection || !Other().Connected()) {
        state.SkipWithError("no X server on DISPLAY");
        return;
    }
    if (!ShowManyWindows()) {
        state.SkipWithError("the window manager did not take on the windows");
        return;
    }
    X11Desktop desktop(*connection);
    std::size_t listed = 0;
    for (auto _ : state) {
        const std::vector<std::string> lines = EnumerateTitledWindows(desktop);
        listed = lines.size();
        benchmark::DoNotOptimize(lines.data());
    }
    state.counters["listed"] = static_cast<double>(listed);
    if (listed < kManyWindows) state.SkipWithError("fewer lines than windows");
}
BENCHMARK(BM_EnumerateWindows1000)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

// One sampling tick as the timer runs it with the pointer over a framed, titled window
// of another program: pointer, colour read-out, magnifier and the pick sub-page's window
// handle, title and class.
void BM_PollWithWindowReadOut(benchmark::State& state) {
    if (!Other().Connected()) {
        state.SkipWithError("no X server on DISPLAY");
        return;
    }
    const std::string title = "取色目标 bench target";
    static const ::Window target = Other().Show(300, 200, 400, 300, title);
    if (!Other().Settle(std::chrono::seconds(60))) {
        state.SkipWithError("the window manager did not take on the window");
        return;
    }
    FormOnX11 fixture;
    Form1* form = fixture.Ready(state, {500, 350});
    if (!form) return;
    for (auto _ : state) form->Timer1_Timer();
    const CrossHairPick& pick = form->windowHandlePage.pick;
    if (pick.Text2.Text() != std::to_string(target) || pick.Text1.Text() != title)
        state.SkipWithError(("the tick read out " + pick.Text2.Text() + " " + pick.Text1.Text()).c_str());
}
BENCHMARK(BM_PollWithWindowReadOut)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

// The window part of that tick alone, the pointer resting on the framed window: the
// window at the pointer's position, then its texts.
void BM_WindowReadOut(benchmark::State& state) {
    std::unique_ptr<X11Connection> connection = X11Connection::Open();
    if (!connection || !Other().Connected()) {
        state.SkipWithError("no X server on DISPLAY");
        return;
    }
    static const ::Window target = Other().Show(300, 200, 400, 300, "读出目标 bench target");
    if (!Other().Settle(std::chrono::seconds(60))) {
        state.SkipWithError("the window manager did not take on the window");
        return;
    }
    X11Desktop desktop(*connection);
    const ScreenPoint pointer{500, 350};
    WindowTexts texts;
    WindowHandle window = 0;
    for (auto _ : state) {
        window = desktop.WindowAt(pointer);
        texts = desktop.ReadWindowTexts(window);
    }
    if (window != static_cast<WindowHandle>(target) || texts.className != "Bench")
        state.SkipWithError("not the window under the pointer");
}
BENCHMARK(BM_WindowReadOut)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

// One bare round trip to the server, the unit the costs above are made of.
void BM_RoundTrip(benchmark::State& state) {
    std::unique_ptr<X11Connection> connection = X11Connection::Open();
    if (!connection) {
        state.SkipWithError("no X server on DISPLAY");
        return;
    }
    for (auto _ : state) XSync(connection->display(), False);
}
BENCHMARK(BM_RoundTrip)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
