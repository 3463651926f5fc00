// SPDX-License-Identifier: MIT
// pelmora-cli, the Linux command-line companion: the window's values for scripts, read
// over the X11 desktop alone (no Qt), or in a Wayland session through the desktop portal's
// screenshots. The command line is read before the display is opened, so --help, --version
// and a bad argument need no X server.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "backends/posix/huge_pages.h"
#include "backends/posix/posix_cli_files.h"
#include "backends/posix/posix_clock.h"
#include "backends/posix/standard_output.h"
#include "backends/posix/wayland_session.h"
#include "backends/portal/portal_desktop.h"
#include "backends/x11/x11_connection.h"
#include "backends/x11/x11_desktop.h"
#include "cli/cli_arguments.h"
#include "cli/cli_run.h"

namespace {
// Standard output through its buffer, flushed at the end; standard error as it comes.
const pelmora::CliStreams kStreams{
    [](std::string_view bytes) {
        std::string failure = pelmora::WriteStandardOutput(bytes);
        return failure.empty() ? pelmora::FlushStandardOutput() : failure;
    },
    [](std::string_view text) { std::fwrite(text.data(), 1, text.size(), stderr); },
};

std::string DisplayName() {
    const char* display = std::getenv("DISPLAY");
    return display ? display : "";
}

// The X server went away in the middle of a command: whatever was read is not the screen's,
// so the command ends at once as it would have without a display.
void EndOnLostDisplay() {
    std::fflush(stdout);
    std::fprintf(stderr, "pelmora-cli: lost the connection to the X server (DISPLAY=%s)\n", DisplayName().c_str());
    std::_Exit(pelmora::kCliRefused);
}

constexpr const char* kWayland = "wayland";

// The request run on desktop, with the Linux files, clock and standard output.
int RunOn(pelmora::Desktop& desktop, const pelmora::CliRequest& request) {
    using namespace pelmora;
    PosixCliFiles files;
    PosixClock clock;
    CliServices services{desktop, files, clock, WriteStandardOutput, StandardOutputIsTerminal()};
    return EndCli(RunCliCommand(request, services), kStreams);
}

// The request run on the screen of a Wayland session, as the desktop portal shows it.
int RunOnPortal(const pelmora::CliRequest& request) {
    using namespace pelmora;
    std::optional<PortalScreenshots> portal;
    try {
        portal.emplace();
    } catch (const ScreenRefused& refused) {
        return EndCli(Refusal(kCliRefused, refused.what()), kStreams);
    }
    PortalDesktop desktop(*portal);
    return RunOn(desktop, request);
}

int Run(int argc, char* argv[]) {
    using namespace pelmora;
    // Under Wayland an X11 client sees only other X11 clients' pixels, and wrong values for
    // the rest: the portal is the default there.
    const CliBackends backends{{{"x11", "the X server on DISPLAY"}, {kWayland, "the desktop portal's screenshots"}},
                               InWaylandSession() ? 1u : 0u};
    const auto parsed = ParseCliArguments(std::vector<std::string>(argv + 1, argv + argc), backends);
    if (const auto* answer = std::get_if<CliResult>(&parsed)) return EndCli(*answer, kStreams);

    // A whole screen grabbed for find-image or snapshot lands in one large buffer, whose
    // first touch on huge pages costs a few page faults instead of two thousand (some
    // 3 ms of a 1920 x 1080 find-image).
    UseHugePagesForLargeBuffers();
    const auto& request = std::get<CliRequest>(parsed);
    if (request.backend == kWayland) return RunOnPortal(request);
    auto connection = X11Connection::Open();
    if (!connection)
        return EndCli(Refusal(kCliRefused, "cannot connect to the X server (DISPLAY=" + DisplayName() + ")"), kStreams);
    X11Connection::OnLostServer(EndOnLostDisplay);
    X11Desktop desktop(*connection);
    return RunOn(desktop, request);
}
}  // namespace

int main(int argc, char* argv[]) {
    // Nothing a command meets may end the program without a word: what no command caught (no
    // memory left for a large grab, say) ends it as a refusal of the system.
    try {
        return Run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pelmora-cli: stopped by an unexpected error: %s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "pelmora-cli: stopped by an unexpected error\n");
    }
    return pelmora::kCliRefused;
}
