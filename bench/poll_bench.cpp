// The cost of the hot paths (the sampling poll, a hotkey grab) against the real X server on DISPLAY (run by scripts/bench
// inside a private Xvfb).
#include <benchmark/benchmark.h>

#include <cstdio>

#include "app/form1.h"
#include "platform/fake/fake_services.h"
#include "platform/x11/x11_desktop.h"

namespace {

using namespace pelmora;

// Form1 loaded on the real desktop; only the file system and shell are stand-ins.
struct FormOnX11 {
    std::unique_ptr<X11Connection> connection = X11Connection::Open();
    std::unique_ptr<X11Desktop> desktop;
    FakeShell shell;
    FakeFileSystem files;
    FakeHotkeyService hotkeys;
    FakeClock clock;
    FakeMessagePump pump{clock};
    Utf8Encoding encoding;
    FakeClipboard clipboard;
    std::unique_ptr<Form1> form;

    // The loaded form, or nullptr (and the benchmark marked skipped) without an X server.
    Form1* Ready(benchmark::State& state) {
        if (!connection) {
            state.SkipWithError("no X server on DISPLAY");
            return nullptr;
        }
        desktop = std::make_unique<X11Desktop>(*connection);
        desktop->SetPointerPos({400, 300});
        form = std::make_unique<Form1>(Platform{*desktop, shell, files, hotkeys, clock, pump, encoding, clipboard});
        form->Form_Load();
        form->sampling.Check1.SetValue(1);
        return form.get();
    }
};

// The read-out of one poll: pointer, Label9, the grab rule and the get panel's colour forms.
void BM_PollReadOut(benchmark::State& state) {
    FormOnX11 fixture;
    Form1* form = fixture.Ready(state);
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
    Form1* form = fixture.Ready(state);
    if (!form) return;
    for (auto _ : state) form->Timer1_Timer();
}
BENCHMARK(BM_Poll)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

// One hotkey grab into a slot: pointer, grab rule, pixel, swatch and slot text.
void BM_GrabIntoSlot(benchmark::State& state) {
    FormOnX11 fixture;
    Form1* form = fixture.Ready(state);
    if (!form) return;
    for (auto _ : state) form->hotkeyDispatch.HotKeyWndProc(1);
}
BENCHMARK(BM_GrabIntoSlot)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
