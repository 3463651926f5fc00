// SPDX-License-Identifier: MIT
// pelmora-cli on a Wayland session's screen, read through the desktop portal (scripts/bench
// runs this inside scripts/wayland-session): a whole `pixel X Y` process against the portal's
// own time for a screenshot and against grim's PNG decoded by Pillow, and the time between two looks
// of wait-colour, on a plain screen and on the photograph-like one, each shown by an
// XWayland window over the whole output.
#include <chrono>
#include <cstdlib>
#include <optional>

#include "backends/portal/png_area.h"
#include "backends/portal/portal_desktop.h"
#include "backends/posix/posix_cli_files.h"
#include "backends/posix/posix_clock.h"
#include "cli/cli_arguments.h"
#include "cli/cli_run.h"
#include "cli_peers.h"
#include "sampling/colour_forms.h"

namespace pelmora {
namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

const Surface& PlainScreen() {
    static const Surface plain(kScreenWidth, kScreenHeight, 0x403020);
    return plain;
}

const Surface& ScreenOf(const benchmark::State& state) { return state.range(0) ? PhotoScreen() : PlainScreen(); }
std::string Named(const std::string& figure, const benchmark::State& state) {
    return figure + (state.range(0) ? "_photo" : "_plain");
}

// The portal, asked in this process.
PortalScreenshots& Portal() {
    static PortalScreenshots portal;
    return portal;
}

// Shows the state's screen and checks, through the portal, that the output shows it.
bool Shown(benchmark::State& state) {
    const Surface& image = ScreenOf(state);
    std::string wrong = ShowWithoutCheck(image);
    if (wrong.empty()) {
        PortalDesktop desktop(Portal());
        Surface seen(image.Width(), image.Height(), -1);
        desktop.ReadArea(0, 0, seen);
        std::size_t differing = 0;
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x) differing += seen.Pixel(x, y) != image.Pixel(x, y);
        if (differing)
            wrong = "the portal's screenshot shows " + std::to_string(differing) + " pixels other than the image";
    }
    if (!wrong.empty()) state.SkipWithError(wrong.c_str());
    return wrong.empty();
}

constexpr ScreenPoint kPixelAt{1234, 567};

std::string ExpectedHex(const benchmark::State& state) {
    return ColourFormsOf(ScreenOf(state).Pixel(kPixelAt.x, kPixelAt.y)).hex;
}

// pelmora-cli pixel X Y, the whole process, each run right after one Screenshot call of this
// process timed until its Response with the file mapped: the portal's own time, measured
// beside ours so that both see the same load.
void BM_WaylandPixel(benchmark::State& state) {
    if (!Shown(state)) return;
    const std::string expected = ExpectedHex(state) + "\n";
    const std::vector<std::string> command{
        kCli, "--backend", "wayland", "pixel", std::to_string(kPixelAt.x), std::to_string(kPixelAt.y)};
    std::vector<double> portal, pixel;
    for (auto _ : state) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(Portal().Take());
        portal.push_back(MillisecondsSince(start));
        const Finished run = Run(command);
        pixel.push_back(run.seconds * 1000);
        state.SetIterationTime(run.seconds);
        if (run.status != 0 || run.out != expected) {
            state.SkipWithError(Unexpected("pelmora-cli pixel", run.out).c_str());
            return;
        }
    }
    Record(state, Named("portal_call", state), portal);
    Record(state, Named("wl_pixel", state), pixel);
}
BENCHMARK(BM_WaylandPixel)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(21);

// What a script does today: grim writes a PNG, Pillow opens it and reads the pixel.
void BM_GrimPil(benchmark::State& state) {
    if (!Shown(state)) return;
    const std::string expected = ExpectedHex(state);
    TimePythonCalls(
        state, Named("grim_pil", state), {"grim_pil", std::to_string(kPixelAt.x), std::to_string(kPixelAt.y)},
        [&](const std::string& answer) { return answer == expected ? "" : Unexpected("grim + PIL", answer); });
}
BENCHMARK(BM_GrimPil)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(21);

// Decoding the rows of a screenshot down to the pixel's, in this process: the part of a
// pixel's time that is neither the portal's nor the process's start.
void BM_WaylandDecode(benchmark::State& state) {
    if (!Shown(state)) return;
    const MappedFile png = Portal().Take();
    const std::span bytes = png.Bytes();
    std::vector<double> milliseconds;
    for (auto _ : state) {
        Surface pixel(1, 1);
        const auto start = Clock::now();
        const std::string failure = ReadPngArea(bytes, {kPixelAt.x, kPixelAt.y, 1, 1}, pixel, {0, 0});
        milliseconds.push_back(MillisecondsSince(start));
        state.SetIterationTime(milliseconds.back() / 1000);
        if (!failure.empty() || pixel.Pixel(0, 0) != ScreenOf(state).Pixel(kPixelAt.x, kPixelAt.y)) {
            state.SkipWithError(("decoding the screenshot: " + failure).c_str());
            return;
        }
    }
    Record(state, Named("decode_to_pixel", state), milliseconds);
}
BENCHMARK(BM_WaylandDecode)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(21);

// The desktop as the waits see it, with the time each look begins.
class LookTimes final : public Desktop {
public:
    explicit LookTimes(Desktop& screen) : screen_(screen) {}
    std::vector<Clock::time_point> looks;

    ScreenPoint PointerPos() override { return screen_.PointerPos(); }
    void SetPointerPos(ScreenPoint point) override { screen_.SetPointerPos(point); }
    ScreenRegion PrimaryMonitor() override { return screen_.PrimaryMonitor(); }
    ScreenRegion AllMonitors() override { return screen_.AllMonitors(); }
    std::int32_t Pixel(std::int32_t x, std::int32_t y) override {
        looks.push_back(Clock::now());
        return screen_.Pixel(x, y);
    }
    void ReadArea(std::int32_t left, std::int32_t top, Surface& target) override {
        looks.push_back(Clock::now());
        screen_.ReadArea(left, top, target);
    }
    WindowHandle WindowAt(ScreenPoint point) override { return screen_.WindowAt(point); }
    WindowTexts ReadWindowTexts(WindowHandle window) override { return screen_.ReadWindowTexts(window); }
    std::vector<TopLevelWindow> TopLevelWindows() override { return screen_.TopLevelWindows(); }
    WindowPlace PlaceOfWindow(WindowHandle window) override { return screen_.PlaceOfWindow(window); }
    CurrentCursor ReadCursor() override { return screen_.ReadCursor(); }

private:
    Desktop& screen_;
};

// wait-colour for a colour that never comes, with --interval 1: the time from one look to
// the next, each a screenshot read where the point is.
void BM_WaylandWaitLook(benchmark::State& state) {
    if (!Shown(state)) return;
    const auto parsed = ParseCliArguments({"wait-colour", std::to_string(kPixelAt.x), std::to_string(kPixelAt.y),
                                           "123456", "--timeout", "4000", "--interval", "1"});
    PortalDesktop portal(Portal());
    LookTimes desktop(portal);
    PosixCliFiles files;
    PosixClock clock;
    CliServices services{desktop, files, clock, [](std::string_view) { return std::string(); }};
    const CliResult result = RunCliCommand(std::get<CliRequest>(parsed), services);
    if (result.status != kCliNotFound || desktop.looks.size() < 3) {
        state.SkipWithError(Unexpected("wait-colour", result.err).c_str());
        return;
    }
    std::vector<double> milliseconds;
    std::size_t next = 1;
    for (auto _ : state) {
        if (next == desktop.looks.size()) next = 1;  // more iterations than looks: from the start again
        milliseconds.push_back(
            std::chrono::duration<double, std::milli>(desktop.looks[next] - desktop.looks[next - 1]).count());
        state.SetIterationTime(milliseconds.back() / 1000);
        ++next;
    }
    Record(state, Named("wl_wait_look", state), milliseconds);
}
BENCHMARK(BM_WaylandWaitLook)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

constexpr Target kTargets[] = {
    {"pixel X Y, plain screen (portal + 15 ms)", "wl_pixel_plain", 15, "grim_pil_plain", "grim -t png + PIL", 1,
     "portal_call_plain"},
    {"pixel X Y, photo screen (portal + 15 ms)", "wl_pixel_photo", 15, "grim_pil_photo", "grim -t png + PIL", 1,
     "portal_call_photo"},
    {"wait-colour look to look, plain (portal + 15)", "wl_wait_look_plain", 15, nullptr, nullptr, 0,
     "portal_call_plain"},
    {"wait-colour look to look, photo (portal + 15)", "wl_wait_look_photo", 15, nullptr, nullptr, 0,
     "portal_call_photo"},
};

}  // namespace
}  // namespace pelmora

int main(int argc, char** argv) { return pelmora::RunBenchmarks(argc, argv, pelmora::kTargets); }
